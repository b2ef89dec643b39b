#include "cli/TextWidth.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
TEST(TextWidth, WideCharactersTakeTwoColumns) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"", 0},
      {"abc", 3},
      {"残り 1分5秒", 11},
      {"ｷｬﾝｾﾙ", 5},       // half-width katakana
      {"（圧縮率）", 10}, // full-width brackets
      {"e\xCC\x81", 1},   // a combining accent
      {"\xFF"
       "a",
       2}, // a stray byte counts as one column
      {"한국", 4},
  };
  for (const auto& [text, width] : cases)
    EXPECT_EQ(cli::DisplayWidth(text), width) << text;
}

TEST(TextWidth, FittingKeepsWholeCharacters) {
  EXPECT_EQ(cli::FitEnd("short", 10), "short");
  EXPECT_EQ(cli::FitEnd("/a/very/long/name.wav", 11), "...name.wav");
  EXPECT_EQ(cli::FitEnd("フォルダ/名前.wav", 12), ".../名前.wav"); // 3 + 1 + 4 + 4
  EXPECT_EQ(cli::FitEnd("フォルダ/名前.wav", 10), "...前.wav");
  EXPECT_EQ(cli::FitStart("残り時間", 5), "残り");
  EXPECT_EQ(cli::FitStart("ab残り", 3), "ab");
  EXPECT_EQ(cli::FitStart("abc", 0), "");
}
#endif
