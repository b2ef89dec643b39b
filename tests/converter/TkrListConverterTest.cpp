#include "converter/TkrListConverter.h"
#include "LogCapture.h"
#include "TkwFileBytes.h"
#include "converter/TkrArchiveWriter.h"
#include "platform/Files.h"
#include "support/ByteOrder.h"
#include "support/TkrHeader.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace {

using testutil::MakeTkwBytes;
using testutil::TkwBytesSpec;
using Bytes = std::vector<std::uint8_t>;
using Result = TkrListConverter::Result;

TkwBytesSpec twoChunks() {
  TkwBytesSpec layout;
  layout.channels = 2;
  layout.chunkSizes = {40, 24};
  return layout;
}

class TkrListConverterTest : public ::testing::Test {
protected:
  std::string put(const std::string& name, const Bytes& bytes) {
    testutil::WriteBytes(dir.file(name), bytes);
    return dir.file(name);
  }
  std::string list(const std::string& text) {
    testutil::WriteText(dir.file("list.txt"), text);
    return dir.file("list.txt");
  }
  Result convert(const std::string& password = "") {
    return TkrListConverter(password).Convert(dir.file("list.txt").c_str());
  }
  std::vector<std::string> filesInDir() const {
    std::vector<plat::FindEntry> entries;
    plat::listDirectory(dir.path().c_str(), entries);
    std::vector<std::string> names;
    for (const auto& entry : entries)
      names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
  }

  testutil::TempDir dir;
  testutil::LogCapture log;
};

TEST_F(TkrListConverterTest, PacksEverySoundInListOrder) {
  const TkwBytesSpec first = twoChunks();
  TkwBytesSpec second;
  second.chunkSizes = {40};
  second.fill = 0x80;
  const Bytes a = MakeTkwBytes(first);
  const Bytes b = MakeTkwBytes(second);
  put("a.tkw", a);
  put("b.tkw", b);
  list("30 a.tkw\n;comment\n7 b.tkw\n");

  ASSERT_EQ(convert("pw"), Result::Written);
  const Bytes archive = testutil::ReadBytes(dir.file("list.tkr"));
  const std::uint32_t indexSize = 20 + 24 * 2 + 8 * 3;
  ASSERT_EQ(archive.size(), indexSize + 64 + 40);

  const TkrHeader header = TkrHeader::Load(archive.data());
  EXPECT_TRUE(header.HasMagic());
  EXPECT_EQ(header.totalLength, archive.size());
  EXPECT_EQ(header.checkWord, TkrHeader::CheckWord(header.totalLength, "pw"));
  EXPECT_EQ(header.layout, 2);
  EXPECT_EQ(header.count, 2);
  EXPECT_EQ(LoadLe32(&archive[16]), 2u); // codec version
  EXPECT_EQ(LoadLe32(&archive[20]), 30u);
  EXPECT_EQ(LoadLe32(&archive[24]), 7u);
  EXPECT_EQ(Bytes(&archive[28], &archive[44]), Bytes(&a[12], &a[28]));
  EXPECT_EQ(Bytes(&archive[44], &archive[60]), Bytes(&b[12], &b[28]));
  EXPECT_EQ(LoadLe32(&archive[60]), indexSize);
  EXPECT_EQ(LoadLe32(&archive[64]), indexSize + 64);
  EXPECT_EQ(Bytes(&archive[68], &archive[84]), Bytes(&a[28], &a[44])); // tables, offsets kept relative
  EXPECT_EQ(Bytes(&archive[84], &archive[92]), Bytes(&b[28], &b[36]));
  EXPECT_EQ(Bytes(archive.begin() + indexSize, archive.begin() + indexSize + 64), Bytes(a.begin() + 44, a.end()));
  EXPECT_EQ(Bytes(archive.begin() + indexSize + 64, archive.end()), Bytes(b.begin() + 36, b.end()));
  EXPECT_EQ(log.lines().back(), dir.file("list.tkr") + " を作成しました");
}

TEST_F(TkrListConverterTest, OneSoundWithTwoEntriesHasItsDataAt60AndNoPasswordGivesTheMix) {
  TkwBytesSpec layout;
  layout.channels = 2;
  layout.chunkSizes = {8, 16};
  put("s.tkw", MakeTkwBytes(layout));
  list("1 s.tkw\n");
  ASSERT_EQ(convert(), Result::Written);
  const Bytes archive = testutil::ReadBytes(dir.file("list.tkr"));
  EXPECT_EQ(LoadLe32(&archive[40]), 60u);
  EXPECT_EQ(LoadLe32(&archive[8]), TkrHeader::Mix(static_cast<std::uint32_t>(archive.size())));
}

TEST_F(TkrListConverterTest, AnEmptyListGivesAnEmptyArchiveOfAReadableVersion) {
  list(";nothing\n\n");
  ASSERT_EQ(convert(), Result::Written);
  const Bytes archive = testutil::ReadBytes(dir.file("list.tkr"));
  ASSERT_EQ(archive.size(), 20u);
  EXPECT_EQ(LoadLe32(&archive[4]), 20u);
  EXPECT_EQ(LoadLe32(&archive[16]), 2u);
}

struct ErrorCase {
  const char* title;
  std::vector<std::pair<std::string, Bytes>> files;
  std::string list;
  std::string message;
};

TEST_F(TkrListConverterTest, RefusedListsAreReportedAndWriteNothing) {
  const Bytes good = MakeTkwBytes({});
  TkwBytesSpec v3;
  v3.codecVersion = 3;
  Bytes tooShort = good;
  tooShort.resize(63);
  Bytes lyingSize = good;
  StoreLe32(&lyingSize[4], static_cast<std::uint32_t>(good.size() + 1));
  Bytes hugeTable = good;
  StoreLe32(&hugeTable[20], 0x20000000);
  Bytes oldFormat = good;
  std::copy_n("Tkw@", 4, oldFormat.begin());
  Bytes threeChannels = good;
  threeChannels[24] = 3;
  Bytes gappedChunks = MakeTkwBytes(twoChunks());
  StoreLe32(&gappedChunks[36], 44); // the second chunk does not follow the first
  Bytes chunkPastEnd = good;
  StoreLe32(&chunkPastEnd[32], 41);
  Bytes riff = good;
  std::copy_n("RIFF", 4, riff.begin());

  const std::string missing = "行目に不正な記述があります(ファイルが存在しません)\n処理を中断します。";
  const std::vector<ErrorCase> cases = {
      {"missing file after a comment and an empty line",
       {{"g.tkw", good}},
       "1 g.tkw\n;c\n\n4 gone.tkw\n",
       "4" + missing},
      {"a line without a number", {{"g.tkw", good}}, "g.tkw\n", "1" + missing},
      {"a line over 254 characters",
       {{"g.tkw", good}},
       "1 g.tkw\n2 " + std::string(260, 'x') + "\n",
       "2行目に不正な記述があります(行が長すぎるか、NUL文字を含んでいます)\n処理を中断します。"},
      {"a number beyond 32 bits",
       {{"g.tkw", good}},
       "1 g.tkw\n99999999999 g.tkw\n",
       "2行目に不正な記述があります(番号が32ビットの範囲を超えています)\n処理を中断します。"},
      {"a number given twice names the second line",
       {{"g.tkw", good}, {"h.tkw", good}},
       "5 g.tkw\n6 h.tkw\n5 h.tkw\n",
       "3行目に、重なった番号が割り振られています"},
      {"numbers are checked before files",
       {{"o.tkw", oldFormat}, {"g.tkw", good}},
       "1 o.tkw\n1 g.tkw\n",
       "2行目に、重なった番号が割り振られています"},
      {"old format",
       {{"g.tkw", good}, {"o.tkw", oldFormat}},
       "1 g.tkw\n2 o.tkw\n",
       "2行目に記述されているファイルは、旧フォーマットのTkwファイルです"},
      {"63 bytes", {{"s.tkw", tooShort}}, "1 s.tkw\n", "1行目に記述されているファイルは、Tkwファイルではありません"},
      {"another magic", {{"r.tkw", riff}}, "1 r.tkw\n", "1行目に記述されているファイルは、Tkwファイルではありません"},
      {"declared size beyond the file",
       {{"l.tkw", lyingSize}},
       "1 l.tkw\n",
       "1行目に記述されているファイルは、Tkwファイルではありません"},
      {"sector table beyond the file",
       {{"t.tkw", hugeTable}},
       "1 t.tkw\n",
       "1行目に記述されているファイルは、Tkwファイルではありません"},
      {"three channels",
       {{"c.tkw", threeChannels}},
       "1 c.tkw\n",
       "1行目に記述されているファイルは、Tkwファイルではありません"},
      {"chunks not back to back",
       {{"c.tkw", gappedChunks}},
       "1 c.tkw\n",
       "1行目に記述されているファイルは、Tkwファイルではありません"},
      {"a chunk past the end of the file",
       {{"c.tkw", chunkPastEnd}},
       "1 c.tkw\n",
       "1行目に記述されているファイルは、Tkwファイルではありません"},
      {"another codec version",
       {{"g.tkw", good}, {"v.tkw", MakeTkwBytes(v3)}},
       "1 g.tkw\n2 v.tkw\n",
       "2行目に、それまでとことなったバージョンの\nファイルが記述されています"},
  };
  const Bytes earlier = {'o', 'l', 'd'};
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.title);
    testutil::LogCapture caseLog;
    for (const auto& [name, bytes] : c.files)
      put(name, bytes);
    put("list.tkr", earlier);
    list(c.list);
    EXPECT_EQ(convert(), Result::Failed);
    ASSERT_FALSE(caseLog.lines().empty());
    EXPECT_EQ(caseLog.lines().back(), c.message);
    EXPECT_EQ(testutil::ReadBytes(dir.file("list.tkr")), earlier); // an earlier archive stays as it was
    for (const auto& [name, bytes] : c.files)
      plat::removeFile(dir.file(name).c_str());
  }
}

TEST_F(TkrListConverterTest, ListsOfMoreThan65535EntriesAreRefused) {
  std::string text;
  for (int i = 0; i < 65536; ++i)
    text += std::to_string(i) + " a.tkw\n";
  list(text);
  EXPECT_EQ(convert(), Result::Failed);
  EXPECT_EQ(log.lines().back(), "リストの項目が65535を超えています(65536項目)\n処理を中断します。");
  EXPECT_FALSE(testutil::FileExists(dir.file("list.tkr")));
}

TEST_F(TkrListConverterTest, AMissingListIsReportedAsNotConvertible) {
  EXPECT_EQ(TkrListConverter().Convert(dir.file("none.txt").c_str()), Result::Failed);
  EXPECT_EQ(log.lines().back(),
            dir.file("none.txt") +
                " をロングファイル名に変換できませんでした\n（ファイルが存在しない可能性があります）\n");
}

TEST_F(TkrListConverterTest, AListNamedLikeItsArchiveIsNotOverwritten) {
  put("g.tkw", MakeTkwBytes({}));
  testutil::WriteText(dir.file("pack.tkr"), "1 g.tkw\n");
  EXPECT_EQ(TkrListConverter().Convert(dir.file("pack.tkr").c_str()), Result::Failed);
  EXPECT_EQ(testutil::ReadText(dir.file("pack.tkr")), "1 g.tkw\n");
}

TEST(TkrListConverterPaths, ArchiveNameReplacesTheExtension) {
  const std::string s(1, plat::kPathSeparator);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {s + "a" + s + "list.txt", s + "a" + s + "list.tkr"}, {s + "a" + s + "list.v2.txt", s + "a" + s + "list.v2.tkr"},
      {s + "a" + s + "list", s + "a" + s + "list.tkr"},     {s + "a.b" + s + "list", s + "a.b" + s + "list.tkr"},
      {s + "a" + s + "list.", s + "a" + s + "list.tkr"},
  };
  for (const auto& [list, archive] : cases)
    EXPECT_EQ(TkrListConverter::ArchivePathFor(list), archive) << list;
}

// The archive appears under its name only when complete; a write that fails
// or stops removes its temporary file and leaves an earlier archive alone.
class TkrArchiveWriterTest : public TkrListConverterTest {
protected:
  std::vector<TkrPackItem> items() {
    TkwBytesSpec layout;
    layout.channels = 2;
    layout.chunkSizes = {100, 100};
    put("a.tkw", MakeTkwBytes(layout));
    put("b.tkw", MakeTkwBytes({}));
    return {{1, TkwSoundFile::Inspect(dir.file("a.tkw"), 1)}, {2, TkwSoundFile::Inspect(dir.file("b.tkw"), 2)}};
  }
};

TEST_F(TkrArchiveWriterTest, ASoundChangedAfterItsCheckFailsTheWrite) {
  const auto packed = items();
  put("out.tkr", {'o', 'l', 'd'});
  TkwBytesSpec changed;
  changed.chunkSizes = {44};
  put("b.tkw", MakeTkwBytes(changed));
  TkrArchiveWriter writer;
  EXPECT_EQ(writer.Write(dir.file("out.tkr"), packed, 2, ""), TkrArchiveWriter::Outcome::Failed);
  EXPECT_EQ(writer.LastFailure(), TkrArchiveWriter::Failure::WriteFailed);
  EXPECT_EQ(testutil::ReadBytes(dir.file("out.tkr")), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"a.tkw", "b.tkw", "out.tkr"}));
}

TEST_F(TkrArchiveWriterTest, AStopRequestDropsTheArchive) {
  const auto packed = items();
  std::atomic<bool> stop{true};
  TkrArchiveWriter writer;
  EXPECT_EQ(writer.Write(dir.file("out.tkr"), packed, 2, "", &stop), TkrArchiveWriter::Outcome::Stopped);
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"a.tkw", "b.tkw"}));
}

TEST_F(TkrArchiveWriterTest, AnArchiveThatCannotBeCreatedIsAFailure) {
  const auto packed = items();
  TkrArchiveWriter writer;
  const std::string target = dir.file("no folder") + plat::kPathSeparator + "out.tkr";
  EXPECT_EQ(writer.Write(target, packed, 2, ""), TkrArchiveWriter::Outcome::Failed);
  EXPECT_EQ(writer.LastFailure(), TkrArchiveWriter::Failure::CannotCreate);

  // Through the converter the failure is logged, not passed over.
  plat::makeDirectory(dir.file("list.tkr").c_str()); // a folder where the archive should go
  list("1 a.tkw\n");
  EXPECT_EQ(convert(), Result::Failed);
  EXPECT_EQ(log.lines().back(), dir.file("list.tkr") + " を作成できませんでした");
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"a.tkw", "b.tkw", "list.tkr", "list.txt"}));
}

} // namespace
