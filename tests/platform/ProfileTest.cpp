#include "platform/Profile.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Profile, MissingFileSectionOrKeyGivesTheDefault) {
  testutil::TempDir dir;
  const std::string ini = dir.file("Missing.ini");
  EXPECT_EQ(plat::profileInt("Debug", "bMakeLog", 7, ini.c_str()), 7);
  EXPECT_EQ(plat::profileString("Password", "strPass", "dflt", ini.c_str()), "dflt");
  testutil::WriteText(ini, "[Other]\nbMakeLog=1\n");
  EXPECT_EQ(plat::profileInt("Debug", "bMakeLog", 7, ini.c_str()), 7);
}

TEST(Profile, ReadsIntegersAndStringsIgnoringCase) {
  testutil::TempDir dir;
  const std::string ini = dir.file("Settings.ini");
  testutil::WriteText(ini, "[EncodeParam]\r\nMaxError2=250\r\nDestBits = 12 \r\nBad=abc\r\n"
                           "Neg=-3\r\n[TkrList]\r\nListDirectory=C:\\lists\r\n");
  struct Case {
    const char* key;
    int expected;
  } cases[] = {{"MaxError2", 250}, {"maxerror2", 250}, {"DestBits", 12}, {"Bad", 0}, {"Neg", -3}};
  for (const auto& c : cases)
    EXPECT_EQ(plat::profileInt("encodeparam", c.key, 99, ini.c_str()), c.expected) << c.key;
  EXPECT_EQ(plat::profileString("TkrList", "ListDirectory", "", ini.c_str()), "C:\\lists");
}

TEST(Profile, WritesReplaceAndAddKeysAndSections) {
  testutil::TempDir dir;
  const std::string ini = dir.file("Out.ini");
  ASSERT_TRUE(plat::writeProfileString("EncodeParam", "bBurst", "1", ini.c_str()));
  ASSERT_TRUE(plat::writeProfileString("EncodeParam", "bSearchSub", "0", ini.c_str()));
  ASSERT_TRUE(plat::writeProfileString("WritePath", "Hist0", "C:\\out dir", ini.c_str()));
  ASSERT_TRUE(plat::writeProfileString("EncodeParam", "bBurst", "0", ini.c_str()));
  EXPECT_EQ(plat::profileInt("EncodeParam", "bBurst", 5, ini.c_str()), 0);
  EXPECT_EQ(plat::profileInt("EncodeParam", "bSearchSub", 5, ini.c_str()), 0);
  EXPECT_EQ(plat::profileString("WritePath", "Hist0", "", ini.c_str()), "C:\\out dir");
}

} // namespace
