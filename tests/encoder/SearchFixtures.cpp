#include "SearchFixtures.h"

#include "EncoderFixtures.h"
#include "encoder/ChannelBuffers.h"
#include "encoder/TkwWriterV1.h"
#include "encoder/TkwWriterV2.h"
#include "encoder/TkwWriterV3.h"
#include "wave/RWaveFile.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

namespace enc_test {

std::vector<unsigned char> EncodeChunkWith(int version, const EncoderSettings& settings,
                                           const std::vector<std::int16_t>& samples, const SearchOptions& search) {
  RecordingCallbacks callbacks;
  ErrorNotice notice;
  EncodeContext context{settings, callbacks, notice, nullptr, search};
  std::unique_ptr<TkwWriter> writer;
  if (version == 1) writer = std::make_unique<TkwWriterV1>(context);
  if (version == 2) writer = std::make_unique<TkwWriterV2>(context);
  if (version == 3) writer = std::make_unique<TkwWriterV3>(context);
  TkwBitWriter bits;
  writer->EncodeChunk(bits, samples.data(), static_cast<int>(samples.size()), samples.size(), 0);
  bits.Flush();
  return bits.Bytes();
}

std::vector<KernelKind> RunnableKernels() {
  std::vector<KernelKind> kinds;
  for (KernelKind kind : {KernelKind::Plain, KernelKind::Sse2, KernelKind::Avx2, KernelKind::Avx512})
    if (KernelFor(kind)) kinds.push_back(kind);
  return kinds;
}

const char* StressName(Stress kind) {
  switch (kind) {
  case Stress::Noise: return "noise";
  case Stress::Silence: return "silence";
  case Stress::FullScaleSquare: return "full-scale square";
  case Stress::Alternating: return "alternating -32768/32767";
  case Stress::Impulses: return "impulses";
  case Stress::Clipped: return "clipped sine";
  case Stress::ConstantLowest: return "constant -32768";
  case Stress::Speech: return "speech";
  }
  return "?";
}

std::vector<std::int16_t> MakeStress(Stress kind, std::size_t count, unsigned seed) {
  std::vector<std::int16_t> out(count, 0);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> full(-32768, 32767);
  for (std::size_t i = 0; i < count; ++i) {
    switch (kind) {
    case Stress::Noise: out[i] = static_cast<std::int16_t>(full(random)); break;
    case Stress::Silence: break;
    case Stress::FullScaleSquare: out[i] = (i / 37) % 2 ? 32767 : -32768; break;
    case Stress::Alternating: out[i] = i % 2 ? 32767 : -32768; break;
    case Stress::Impulses: out[i] = i % 701 == 0 ? (i % 1402 ? -32768 : 32767) : 0; break;
    case Stress::Clipped: {
      // Runs of -32768 on both sides of a block and its source: pair sums of
      // 2^31 in the vector kernels.
      const int v = static_cast<int>(90000 * std::sin(static_cast<double>(i) * 0.02));
      out[i] = static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
      break;
    }
    case Stress::ConstantLowest: out[i] = -32768; break;
    case Stress::Speech: break;
    }
  }
  if (kind == Stress::Speech) {
    const std::vector<std::int16_t> speech = MakeSignal(Signal::Speech, static_cast<std::uint32_t>(count), 1);
    out.assign(speech.begin(), speech.end());
  }
  return out;
}

std::string SamplePath(const std::string& name) {
  std::string path = std::string(TKW_SAMPLES_DIR) + "/" + name + ".wav";
#ifdef _WIN32
  // The source tree seen through wine's drive of the root folder.
  for (char& c : path)
    if (c == '/') c = '\\';
  path = "Z:" + path;
#endif
  return path;
}

std::vector<std::int16_t> SampleChannel(const std::string& name, int channel) {
  RWaveFile wave;
  wave.Open(SamplePath(name).c_str(), 0);
  ChannelBuffers buffers(wave.channels, wave.frames);
  buffers.Read(wave, wave.frames);
  const std::int16_t* samples = buffers.Channel(channel);
  return std::vector<std::int16_t>(samples, samples + wave.frames);
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t hash = 1469598103934665603ull;
  for (std::uint8_t b : bytes)
    hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

} // namespace enc_test
