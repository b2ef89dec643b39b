#include "encoder_app/SettingsFile.h"

#include "platform/Files.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::int32_t> Values(const EncoderSettings& s) {
  return {s.EncodeVersion, s.MaxError2, s.DestBits, s.bEncodeMinBits, s.ContrastBits, s.BrightnessBits, s.MaxContrast,
          s.MaxBrightness, s.bRemake,   s.bBurst,   s.bSearchSub,     s.bMakeLog,     s.bSelectEncode};
}

} // namespace

TEST(SettingsFile, DefaultsWithoutAFile) {
  testutil::TempDir dir;
  testutil::ScopedCurrentDirectory here(dir.path());
  const EncoderSettings s = LoadSettings(DefaultSettingsPath());
  EXPECT_EQ(Values(s), (std::vector<std::int32_t>{2, 100, 10, 1, 8, 9, 3, 15000, 0, 0, 1, 1, 0}));
  EXPECT_EQ(s.readPath, plat::currentDirectory());
  EXPECT_EQ(s.writePath, plat::currentDirectory());
  EXPECT_EQ(DefaultSettingsPath(), plat::currentDirectory() + plat::kPathSeparator + "TkwEncoder.ini");
}

TEST(SettingsFile, RoundTripAndPartialFiles) {
  testutil::TempDir dir;
  const std::string ini = dir.file("TkwEncoder.ini");
  EncoderSettings written;
  written.EncodeVersion = 3;
  written.MaxError2 = 250;
  written.DestBits = 13;
  written.bEncodeMinBits = 0;
  written.ContrastBits = 6;
  written.BrightnessBits = 10;
  written.MaxContrast = 2;
  written.MaxBrightness = 32000;
  written.bRemake = 1;
  written.bBurst = 1;
  written.bSearchSub = 0;
  written.bMakeLog = 0;
  written.bSelectEncode = 1;
  written.readPath = dir.file("in put");
  written.writePath = dir.file("out");
  ASSERT_TRUE(SaveSettings(written, ini));
  const EncoderSettings read = LoadSettings(ini);
  EXPECT_EQ(Values(read), Values(written));
  EXPECT_EQ(read.readPath, written.readPath);
  EXPECT_EQ(read.writePath, written.writePath);

  // Keys match without regard to case; the missing ones take their defaults.
  testutil::WriteText(ini, "[encodeparam]\r\nmaxerror2=7\r\nDestBits=12\r\n[WritePath]\r\nHist0=/x/y\r\n");
  const EncoderSettings partial = LoadSettings(ini);
  EXPECT_EQ(partial.MaxError2, 7);
  EXPECT_EQ(partial.DestBits, 12);
  EXPECT_EQ(partial.EncodeVersion, 2);
  EXPECT_EQ(partial.MaxBrightness, 15000);
  EXPECT_EQ(partial.writePath, "/x/y");
}
