#include "converter/TkrConverterSettings.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TkrConverterSettings, LetterEncoding) {
  EXPECT_EQ(TkrConverterSettings::EncodeLetters("Az"), "EBHK");
  EXPECT_EQ(TkrConverterSettings::EncodeLetters(std::string("\x00\xff", 2)), "AAPP");
  EXPECT_EQ(TkrConverterSettings::DecodeLetters("EBHK"), "Az");
  EXPECT_EQ(TkrConverterSettings::DecodeLetters("EBH"), "A"); // a single trailing letter is ignored
  EXPECT_EQ(TkrConverterSettings::DecodeLetters("E"), "");
  EXPECT_EQ(TkrConverterSettings::DecodeLetters("zz"), std::string(1, static_cast<char>((16 * 57 + 57) % 256)));
  const std::string every = [] {
    std::string all;
    for (int b = 0; b < 256; ++b)
      all += static_cast<char>(b);
    return all;
  }();
  EXPECT_EQ(TkrConverterSettings::DecodeLetters(TkrConverterSettings::EncodeLetters(every)), every);
}

TEST(TkrConverterSettings, DefaultsAndRoundTripThroughTheIni) {
  testutil::TempDir dir;
  const std::string ini = dir.file("TkrConverter.ini");
  TkrConverterSettings settings;
  settings.Load(ini);
  EXPECT_TRUE(settings.setPassword);
  EXPECT_FALSE(settings.hidePassword);
  EXPECT_EQ(settings.password, "");

  settings.setPassword = false;
  settings.hidePassword = true;
  settings.password = "秘密 pass";
  settings.listDirectory = dir.path();
  ASSERT_TRUE(settings.Save(ini));
  const std::string text = testutil::ReadText(ini);
  EXPECT_NE(text.find(TkrConverterSettings::EncodeLetters("秘密 pass")), std::string::npos);

  TkrConverterSettings loaded;
  loaded.Load(ini);
  EXPECT_FALSE(loaded.setPassword);
  EXPECT_TRUE(loaded.hidePassword);
  EXPECT_EQ(loaded.password, "秘密 pass");
  EXPECT_EQ(loaded.listDirectory, dir.path());
}

TEST(TkrConverterSettings, ThePasswordBoxDecidesWhetherThePasswordApplies) {
  TkrConverterSettings settings;
  settings.password = "left in the field";
  settings.setPassword = true;
  EXPECT_EQ(settings.EffectivePassword(), "left in the field");
  settings.setPassword = false;
  EXPECT_EQ(settings.EffectivePassword(), "");
}

TEST(TkrConverterSettings, QueueFileKeepsOnePathPerLine) {
  testutil::TempDir dir;
  const std::string path = dir.file("TkrList.txt");
  const std::vector<std::string> lists = {dir.file("b.txt"), dir.file("a list.txt")};
  ASSERT_TRUE(TkrConverterSettings::SaveQueue(path, lists));
  EXPECT_EQ(TkrConverterSettings::LoadQueue(path), lists);
  testutil::WriteText(path, "x.txt\r\n\ny.txt");
  EXPECT_EQ(TkrConverterSettings::LoadQueue(path), (std::vector<std::string>{"x.txt", "y.txt"}));
  EXPECT_TRUE(TkrConverterSettings::LoadQueue(dir.file("none.txt")).empty());
}

} // namespace
