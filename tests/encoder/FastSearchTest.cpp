// The fast searches against the plain reference search, chunk by chunk: the
// same bytes for every kernel, version and setting, on signals that stress
// the exact arithmetic (full scale, -32768 runs, constant sources).
#include "SearchFixtures.h"

#include "encoder/ChunkWorkspace.h"

#include <gtest/gtest.h>

using namespace enc_test;

namespace {

struct Variant {
  const char* name;
  void (*apply)(EncoderSettings&);
};

// Every runnable kernel, with fresh and with reused memory, against the
// reference. The reused workspace has just encoded a longer, different chunk.
void ExpectSameAsReference(int version, const EncoderSettings& settings, const std::vector<std::int16_t>& samples) {
  const std::vector<unsigned char> reference = EncodeChunkWith(version, settings, samples);
  for (KernelKind kind : RunnableKernels()) {
    SCOPED_TRACE(KernelName(kind));
    EXPECT_EQ(EncodeChunkWith(version, settings, samples, SearchOptions{KernelFor(kind), nullptr}), reference);
    ChunkWorkspace workspace;
    const SearchOptions reused{KernelFor(kind), &workspace};
    EncodeChunkWith(version, settings, MakeStress(Stress::Noise, samples.size() + 3000, 9), reused);
    EXPECT_EQ(EncodeChunkWith(version, settings, samples, reused), reference);
  }
}

} // namespace

TEST(FastSearch, SameBytesOnStressSignals) {
  const Variant variants[] = {
      {"defaults", [](EncoderSettings&) {}},
      {"13 distance bits, no smallest blocks",
       [](EncoderSettings& s) {
         s.DestBits = 13;
         s.bEncodeMinBits = 0;
       }},
  };
  const Stress kinds[] = {Stress::Noise,    Stress::Silence, Stress::FullScaleSquare, Stress::Alternating,
                          Stress::Impulses, Stress::Clipped, Stress::ConstantLowest,  Stress::Speech};
  for (const Variant& v : variants) {
    EncoderSettings settings;
    v.apply(settings);
    for (Stress kind : kinds) {
      for (int version = 1; version <= 3; ++version) {
        SCOPED_TRACE(testing::Message() << v.name << ", " << StressName(kind) << ", version " << version);
        ExpectSameAsReference(version, settings, MakeStress(kind, 1400));
      }
    }
  }
}

TEST(FastSearch, SameBytesForEverySetting) {
  const Variant variants[] = {
      {"11 distance bits", [](EncoderSettings& s) { s.DestBits = 11; }},
      {"12 distance bits, no smallest blocks",
       [](EncoderSettings& s) {
         s.DestBits = 12;
         s.bEncodeMinBits = 0;
       }},
      {"tolerance 0", [](EncoderSettings& s) { s.MaxError2 = 0; }},
      {"tolerance 1", [](EncoderSettings& s) { s.MaxError2 = 1; }},
      {"tolerance 2047", [](EncoderSettings& s) { s.MaxError2 = 2047; }},
      {"tolerance 40000 (threshold above any error)", [](EncoderSettings& s) { s.MaxError2 = 40000; }},
      {"version 1 codes at their widest",
       [](EncoderSettings& s) {
         s.ContrastBits = s.BrightnessBits = 16;
         s.MaxContrast = s.MaxBrightness = 65535;
       }},
      {"version 1 codes at their narrowest",
       [](EncoderSettings& s) {
         s.ContrastBits = s.BrightnessBits = 1;
         s.MaxContrast = s.MaxBrightness = 1;
       }},
      {"version 1 wide codes, small limits",
       [](EncoderSettings& s) {
         s.ContrastBits = s.BrightnessBits = 16;
         s.MaxContrast = s.MaxBrightness = 1;
       }},
  };
  for (const Variant& v : variants) {
    EncoderSettings settings;
    v.apply(settings);
    for (Stress kind : {Stress::Speech, Stress::Noise, Stress::Clipped}) {
      for (int version = 1; version <= 3; ++version) {
        SCOPED_TRACE(testing::Message() << v.name << ", " << StressName(kind) << ", version " << version);
        ExpectSameAsReference(version, settings, MakeStress(kind, 1500, 3));
      }
    }
  }
}

// Real sounds at full chunk length: the sectors of the bundled samples.
TEST(FastSearch, SameBytesOnTheBundledSamples) {
  const struct {
    const char* sample;
    int channel;
    int version;
  } cases[] = {{"music", 0, 2}, {"stereo", 1, 1}, {"speech", 0, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sample << " channel " << c.channel << ", version " << c.version);
    const std::vector<std::int16_t> samples = SampleChannel(c.sample, c.channel);
    EncoderSettings settings;
    const std::vector<unsigned char> reference = EncodeChunkWith(c.version, settings, samples);
    for (KernelKind kind : RunnableKernels())
      EXPECT_EQ(EncodeChunkWith(c.version, settings, samples, SearchOptions{KernelFor(kind), nullptr}), reference)
          << KernelName(kind);
  }
}
