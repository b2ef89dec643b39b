#include "format/TkrListFile.h"
#include "platform/Files.h"
#include "support/Exceptions.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Expected {
  std::uint32_t number;
  std::int32_t line;
  std::string name;
  bool malformed = false;
};

struct ParseCase {
  const char* title;
  std::string text;
  std::vector<Expected> entries;
};

TEST(TkrListFile, ParsesTheLineSyntax) {
  const std::string longName(250, 'n');
  const std::vector<ParseCase> cases = {
      {"number, blank, name", "12 voice.tkw\n", {{12, 1, "voice.tkw"}}},
      {"comment and empty lines still count", "1 a.tkw\n;2 b.tkw\n\n4 d.tkw\n", {{1, 1, "a.tkw"}, {4, 4, "d.tkw"}}},
      {"comma and tab separate too", "5,e.tkw\n6\tf.tkw\n", {{5, 1, "e.tkw"}, {6, 2, "f.tkw"}}},
      {"a second blank belongs to the name", "7  g.tkw\n", {{7, 1, " g.tkw"}}},
      {"a line without a number loses its first character", "voice.tkw\n", {{0, 1, "oice.tkw"}}},
      {"white space without a number is kept", "  x.tkw\n", {{0, 1, " x.tkw"}}},
      {"leading white space and signs", "  +8 h.tkw\n-1 i.tkw\n", {{8, 1, "h.tkw"}, {0xFFFFFFFFu, 2, "i.tkw"}}},
      {"the unsigned range is accepted", "4294967295 j.tkw\n", {{0xFFFFFFFFu, 1, "j.tkw"}}},
      {"numbers beyond 32 bits are refused",
       "4294967296 k.tkw\n-2147483649 l.tkw\n",
       {{0, 1, "k.tkw", true}, {0, 2, "l.tkw", true}}},
      {"CR LF line endings", "9 m.tkw\r\n\r\n10 n.tkw\r\n", {{9, 1, "m.tkw"}, {10, 3, "n.tkw"}}},
      {"last line without a line feed", "11 o.tkw", {{11, 1, "o.tkw"}}},
      {"a number alone has no name", "12\n13", {{12, 1, ""}, {13, 2, ""}}},
      {"254 characters fit", "1 " + std::string(252, 'p') + "\n", {{1, 1, std::string(252, 'p')}}},
      {"255 characters do not", "1 " + std::string(253, 'p') + "\n2 q\n", {{0, 1, "", true}, {2, 2, "q"}}},
      {"a NUL byte makes the line unusable", std::string("3 r\0s.tkw\n", 10), {{0, 1, "", true}}},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.title);
    const std::vector<TkrListEntry> entries = TkrListFile::Parse(c.text);
    ASSERT_EQ(entries.size(), c.entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].line, c.entries[i].line);
      EXPECT_EQ(entries[i].malformed, c.entries[i].malformed);
      if (!c.entries[i].malformed) {
        EXPECT_EQ(entries[i].number, c.entries[i].number);
        EXPECT_EQ(entries[i].name, c.entries[i].name);
      }
    }
  }
}

class TkrListResolve : public ::testing::Test {
protected:
  void SetUp() override {
    plat::makeDirectory(lists_.c_str());
    plat::makeDirectory(dir.file("folder.tkw").c_str());
    testutil::WriteText(dir.file("here.tkw"), "x");
    testutil::WriteText(lists_ + plat::kPathSeparator + "there.tkw", "x");
    testutil::WriteText(lists_ + plat::kPathSeparator + "here.tkw", "x");
  }

  // The line of the PC_BadFormat thrown, or 0.
  int badLine(const std::string& text) {
    auto entries = TkrListFile::Parse(text);
    try {
      TkrListFile::Resolve(entries, lists_);
    } catch (const PC_BadFormat& error) {
      return error.line;
    }
    return 0;
  }

  testutil::TempDir dir;
  std::string lists_ = dir.file("lists");
};

TEST_F(TkrListResolve, NamesExistingAsWrittenWinOverTheListFolder) {
  testutil::ScopedCurrentDirectory inside(dir.path());
  auto entries = TkrListFile::Parse("1 here.tkw\n2 there.tkw\n");
  TkrListFile::Resolve(entries, lists_);
  EXPECT_EQ(entries[0].path, "here.tkw");
  EXPECT_EQ(entries[1].path, lists_ + plat::kPathSeparator + "there.tkw");
}

TEST_F(TkrListResolve, TheFirstBadLineInLineOrderIsReported) {
  testutil::ScopedCurrentDirectory inside(dir.path());
  EXPECT_EQ(badLine("1 here.tkw\n;c\n\n4 gone.tkw\n5 " + std::string(300, 'z') + "\n"), 4);
  EXPECT_EQ(badLine("1 here.tkw\n2 " + std::string(300, 'z') + "\n3 gone.tkw\n"), 2);
  EXPECT_EQ(badLine("here.tkw\n"), 1);     // no number: the name loses its first character
  EXPECT_EQ(badLine("1  here.tkw\n"), 1);  // two blanks: the name starts with one
  EXPECT_EQ(badLine("1 folder.tkw\n"), 1); // a folder is not a sound file
  EXPECT_EQ(badLine("7\n"), 1);
  EXPECT_EQ(badLine("1 here.tkw\n2 there.tkw\n"), 0);
}

TEST(TkrListFileDirectory, IsTheListFolderOrTheCurrentDirectory) {
  testutil::TempDir dir;
  testutil::ScopedCurrentDirectory inside(dir.path());
  const std::string sep(1, plat::kPathSeparator);
  EXPECT_EQ(TkrListFile::Directory("list.txt"), plat::currentDirectory());
  EXPECT_EQ(TkrListFile::Directory(("a" + sep + "b" + sep + "list.txt").c_str()), "a" + sep + "b");
}

TEST(TkrListFileLoad, ReadsAFileAndFailsOnAMissingOne) {
  testutil::TempDir dir;
  testutil::WriteText(dir.file("l.txt"), "1 a\n;x\n3 c");
  std::vector<TkrListEntry> entries;
  ASSERT_TRUE(TkrListFile::Load(dir.file("l.txt").c_str(), entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].line, 3);
  EXPECT_EQ(entries[1].name, "c");
  EXPECT_FALSE(TkrListFile::Load(dir.file("none.txt").c_str(), entries));
}

// Loading reads block by block; it gives what parsing the whole text gives,
// also for lines across block boundaries, CR LF endings and a last line
// without its line feed.
TEST(TkrListFileLoad, GivesWhatParsingTheWholeTextGives) {
  testutil::TempDir dir;
  std::string text;
  for (int i = 0; text.size() < 200000; ++i)
    text += std::to_string(i) + (i % 3 ? " name" : "\tname") + std::to_string(i) + (i % 2 ? "\r\n" : "\n") +
            (i % 7 ? "" : ";comment\n\n");
  text += "1 " + std::string(70000, 'y') + "\n2 " + std::string(252, 'z') + "\r\n3 last";
  testutil::WriteText(dir.file("l.txt"), text);
  std::vector<TkrListEntry> loaded;
  std::size_t count = 0;
  ASSERT_TRUE(TkrListFile::Load(dir.file("l.txt").c_str(), loaded, &count));
  const std::vector<TkrListEntry> parsed = TkrListFile::Parse(text);
  ASSERT_EQ(loaded.size(), parsed.size());
  EXPECT_EQ(count, parsed.size());
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    SCOPED_TRACE(parsed[i].line);
    EXPECT_EQ(loaded[i].line, parsed[i].line);
    EXPECT_EQ(loaded[i].number, parsed[i].number);
    EXPECT_EQ(loaded[i].name, parsed[i].name);
    EXPECT_EQ(loaded[i].malformed, parsed[i].malformed);
  }
  EXPECT_TRUE(loaded[loaded.size() - 3].malformed) << "the line of 70002 characters";
  EXPECT_FALSE(loaded[loaded.size() - 2].malformed) << "254 characters and CR LF";
  EXPECT_EQ(loaded.back().name, "last");
}

// Entries past the 65535th are counted, not kept: the first of them stays
// so that its line can be named.
TEST(TkrListFileLoad, KeepsNoMoreThanTheEntriesAnArchiveCanHold) {
  testutil::TempDir dir;
  std::string text;
  for (int i = 0; i < 100000; ++i)
    text += std::to_string(i) + " a\n";
  testutil::WriteText(dir.file("l.txt"), text);
  std::vector<TkrListEntry> entries;
  std::size_t count = 0;
  ASSERT_TRUE(TkrListFile::Load(dir.file("l.txt").c_str(), entries, &count));
  EXPECT_EQ(count, 100000u);
  ASSERT_EQ(entries.size(), TkrListFile::kMaxEntries + 1);
  EXPECT_FALSE(entries[TkrListFile::kMaxEntries - 1].malformed);
  EXPECT_TRUE(entries.back().malformed);
  EXPECT_EQ(entries.back().line, 65536);
}

} // namespace
