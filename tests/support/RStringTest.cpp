#include "support/RString.h"
#include "support/Exceptions.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Paths in this file are written with '|' for the platform's separator.
std::string P(std::string text) {
  for (char& c : text)
    if (c == '|') c = plat::kPathSeparator;
  return text;
}

TEST(RString, NewHoldsEmptyTextInFiveHundredBytes) {
  RString text;
  EXPECT_STREQ(text.c_str(), "");
  EXPECT_EQ(text.capacity(), 500u);
  EXPECT_TRUE(text.empty());
}

TEST(RString, NullTextCountsAsEmpty) {
  RString text("abc");
  text.Assign(nullptr);
  EXPECT_STREQ(text.c_str(), "");
  text.Append(nullptr);
  EXPECT_STREQ(text.c_str(), "");
}

struct PathCase {
  const char* name;
  std::string input;
  std::string expected;
};

TEST(RString, SetDirectoryCutsAtTheLastSeparator) {
  const PathCase cases[] = {
      {"file in folder", P("C:|a|b.txt"), P("C:|a")},
      {"trailing separator", P("C:|a|"), P("C:|a")},
      {"no separator", "name.txt", ""},
      {"root file", P("|x"), ""},
  };
  for (const auto& c : cases) {
    RString text;
    text.SetDirectory(c.input.c_str());
    EXPECT_EQ(text.c_str(), c.expected) << c.name;
  }
}

TEST(RString, AppendComponentAlwaysAddsOneSeparator) {
  const PathCase cases[] = {
      {"plain folder", P("C:|a"), P("C:|a|b.tkw")},
      {"folder ending in separator", P("C:|a|"), P("C:|a||b.tkw")},
  };
  for (const auto& c : cases) {
    RString text(c.input.c_str());
    text.AppendComponent("b.tkw");
    EXPECT_EQ(text.c_str(), c.expected) << c.name;
  }
  EXPECT_EQ(std::string(RString::Join(P("C:|a").c_str(), "b").c_str()), P("C:|a|b"));
}

TEST(RString, StripNewlineRemovesOneLineFeedOnly) {
  const PathCase cases[] = {
      {"one line feed", "abc\n", "abc"},
      {"two line feeds", "abc\n\n", "abc\n"},
      {"none", "abc", "abc"},
      {"carriage return kept", "abc\r", "abc\r"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    RString text(c.input.c_str());
    text.StripNewline();
    EXPECT_EQ(text.c_str(), c.expected) << c.name;
  }
}

TEST(RString, TextsThatDoNotFitThrowAndLeaveTheTextUnchanged) {
  const std::string longest(499, 'x');
  RString text(longest.c_str());
  EXPECT_EQ(text.length(), 499u);

  const std::string tooLong(500, 'y');
  EXPECT_THROW(text.Assign(tooLong.c_str()), CopyStringError);
  EXPECT_EQ(text.c_str(), longest);

  EXPECT_THROW(text.Append("z"), CopyStringError);
  EXPECT_EQ(text.c_str(), longest);

  RString shorter(std::string(498, 'x').c_str());
  EXPECT_THROW(shorter.AppendComponent("a"), CopyStringError);
  EXPECT_NO_THROW(shorter.Append("a"));
  EXPECT_THROW(RString(tooLong.c_str()), CopyStringError);
}

TEST(RString, CopiesOwnTheirBuffers) {
  RString a("first");
  RString b(a);
  b.Append("-more");
  RString c;
  c = a;
  c.Assign("other");
  EXPECT_STREQ(a.c_str(), "first");
  EXPECT_STREQ(b.c_str(), "first-more");
  EXPECT_STREQ(c.c_str(), "other");
  EXPECT_NE(a.c_str(), b.c_str());
}

TEST(RString, ReallocateGivesAnEmptyBufferOfTheNewSize) {
  RString text("abc");
  text.Reallocate(4096);
  EXPECT_EQ(text.capacity(), 4096u);
  EXPECT_STREQ(text.c_str(), "");
  const std::string big(3000, 'q');
  text.Assign(big.c_str());
  EXPECT_EQ(text.length(), 3000u);
}

} // namespace
