// Whole files of the bundled samples against fingerprints of the files the
// plain one-thread encoder wrote, for every version and the settings that
// change the bit stream: the fast searches and the threads change no byte.
#include "EncoderFixtures.h"
#include "SearchFixtures.h"

#include "encoder/EncodeDriver.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <map>

using namespace enc_test;

namespace {

struct Setting {
  int version, destBits, minBits, maxError2, contrastBits, brightnessBits, maxContrast, maxBrightness;
};

const std::map<std::string, Setting>& Settings() {
  static const std::map<std::string, Setting> settings = {
      {"v1", {1, 10, 1, 100, 8, 9, 3, 15000}},         {"v2", {2, 10, 1, 100, 8, 9, 3, 15000}},
      {"v3", {3, 10, 1, 100, 8, 9, 3, 15000}},         {"v1d13", {1, 13, 0, 100, 8, 9, 3, 15000}},
      {"v2d13", {2, 13, 0, 100, 8, 9, 3, 15000}},      {"v3d13", {3, 13, 0, 100, 8, 9, 3, 15000}},
      {"v2t3", {2, 11, 1, 3, 8, 9, 3, 15000}},         {"v2t0", {2, 10, 1, 0, 8, 9, 3, 15000}},
      {"v2t40000", {2, 12, 1, 40000, 8, 9, 3, 15000}}, {"v1wide", {1, 12, 1, 400, 16, 16, 65535, 65535}},
      {"v1narrow", {1, 11, 1, 3, 1, 1, 1, 1}},         {"v3t40", {3, 11, 0, 40, 8, 9, 3, 15000}},
  };
  return settings;
}

} // namespace

TEST(SampleFingerprints, SameFilesAsThePlainEncoder) {
  const struct {
    const char* setting;
    const char* sample;
    std::size_t size;
    std::uint64_t fingerprint;
  } cases[] = {
      {"v1", "speech", 45232u, 13051098142608566036ull},        {"v1", "music", 108388u, 53577252603107269ull},
      {"v1", "stereo", 155852u, 14438424680987253135ull},       {"v2", "speech", 36176u, 8104734589292035362ull},
      {"v2", "music", 68304u, 6572808855501007461ull},          {"v2", "stereo", 110744u, 7090427423556047070ull},
      {"v3", "speech", 36340u, 11006995297366569273ull},        {"v3", "music", 68524u, 9174921455350471781ull},
      {"v3", "stereo", 111272u, 11535937902939031600ull},       {"v1d13", "speech", 67624u, 16243200488286140529ull},
      {"v1d13", "music", 135380u, 15101303043298712202ull},     {"v1d13", "stereo", 226796u, 18194568394337923126ull},
      {"v2d13", "speech", 37908u, 8137114976866775117ull},      {"v2d13", "music", 67836u, 12820981961504817715ull},
      {"v2d13", "stereo", 116528u, 12430176529111121178ull},    {"v3d13", "speech", 37964u, 3581004237315216235ull},
      {"v3d13", "music", 67948u, 10915176312609963430ull},      {"v3d13", "stereo", 116760u, 15454312227678475494ull},
      {"v2t3", "speech", 70708u, 17418600070682868993ull},      {"v2t3", "music", 82944u, 5024242943339291371ull},
      {"v2t3", "stereo", 136484u, 6605756426035591000ull},      {"v2t0", "speech", 79000u, 14530267130351294156ull},
      {"v2t0", "music", 90912u, 16943659873728422444ull},       {"v2t0", "stereo", 136484u, 73983918212328503ull},
      {"v2t40000", "speech", 676u, 4039569754688515121ull},     {"v2t40000", "music", 752u, 6851641111180140883ull},
      {"v2t40000", "stereo", 1124u, 4385570020749479347ull},    {"v1wide", "speech", 48424u, 10295257422256653755ull},
      {"v1wide", "music", 131340u, 1356555754936128705ull},     {"v1wide", "stereo", 184300u, 3395596549333698319ull},
      {"v1narrow", "speech", 139812u, 18323187120177961245ull}, {"v1narrow", "music", 166660u, 14720812915902988275ull},
      {"v1narrow", "stereo", 265728u, 7665931875315325085ull},  {"v3t40", "speech", 52996u, 11588453454506260593ull},
      {"v3t40", "music", 76332u, 14231962259408220522ull},      {"v3t40", "stereo", 133652u, 5718429118505353459ull},
  };
  testutil::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.setting << " " << c.sample);
    const Setting& s = Settings().at(c.setting);
    EncoderSettings settings;
    settings.EncodeVersion = s.version;
    settings.DestBits = s.destBits;
    settings.bEncodeMinBits = s.minBits;
    settings.MaxError2 = s.maxError2;
    settings.ContrastBits = s.contrastBits;
    settings.BrightnessBits = s.brightnessBits;
    settings.MaxContrast = s.maxContrast;
    settings.MaxBrightness = s.maxBrightness;
    settings.bRemake = 1;
    RecordingCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    driver.EncodeOne(SamplePath(c.sample), dir.path());
    ASSERT_EQ(driver.counts().encoded, 1);
    const std::vector<std::uint8_t> file = testutil::ReadBytes(dir.file(std::string(c.sample) + ".tkw"));
    EXPECT_EQ(file.size(), c.size);
    EXPECT_EQ(Fnv1a(file), c.fingerprint);
  }
}
