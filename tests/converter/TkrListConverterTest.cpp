#include "converter/TkrListConverter.h"
#include "LogCapture.h"
#include "TkwFileBytes.h"
#include "converter/TkrArchiveWriter.h"
#include "converter/TkrConvertQueue.h"
#include "format/TkrHeader.h"
#include "platform/Files.h"
#include "support/ByteOrder.h"
#include "support/RFile.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using testutil::MakeTkwBytes;
using testutil::TkwBytesLayout;
using Bytes = std::vector<std::uint8_t>;
using Result = TkrListConverter::Result;

TkwBytesLayout twoChunks() {
  TkwBytesLayout layout;
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
  const TkwBytesLayout first = twoChunks();
  TkwBytesLayout second;
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
  TkwBytesLayout layout;
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
  TkwBytesLayout v3;
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
  for (const int entries : {65536, 100000}) {
    std::string text;
    for (int i = 0; i < entries; ++i)
      text += std::to_string(i) + " a.tkw\n";
    list(text);
    EXPECT_EQ(convert(), Result::Failed);
    EXPECT_EQ(log.lines().back(),
              "リストの項目が65535を超えています(" + std::to_string(entries) + "項目)\n処理を中断します。");
    EXPECT_FALSE(testutil::FileExists(dir.file("list.tkr")));
  }
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
    TkwBytesLayout layout;
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
  TkwBytesLayout changed;
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

// Killed runs, runs at the same time, and paths near the 500-byte limit.
class TkrArchiveTemporaryTest : public TkrListConverterTest {
protected:
  // A list naming `copies` times one sound of `sectors` chunks of 512 KB.
  void bigJob(int copies, std::uint32_t sectors) {
    TkwBytesLayout layout;
    layout.length = sectors * 131072;
    layout.chunkSizes.assign(sectors, 524288);
    put("big.tkw", MakeTkwBytes(layout));
    std::string text;
    for (int i = 0; i < copies; ++i)
      text += std::to_string(i) + " big.tkw\n";
    list(text);
  }
};

TEST_F(TkrArchiveTemporaryTest, ATemporaryFileInUseIsLeftToItsWriter) {
  put("a.tkw", MakeTkwBytes({}));
  list("1 a.tkw\n");
  {
    RFile other;
    ASSERT_TRUE(other.Open(dir.file("list.tkr.tmp").c_str(), RFile::kCreate));
    ASSERT_EQ(other.Write("busy", 4), 4u);
    EXPECT_EQ(convert(), Result::Failed);
    EXPECT_EQ(log.lines().back(), dir.file("list.tkr") + " は、ほかの処理が作成中のため作成できません");
    EXPECT_EQ(other.Size(), 4) << "the other run's file is untouched";
  }
  EXPECT_FALSE(testutil::FileExists(dir.file("list.tkr")));
  // Once free, the same name is taken over.
  EXPECT_EQ(convert(), Result::Written);
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"a.tkw", "list.tkr", "list.txt"}));
}

TEST_F(TkrArchiveTemporaryTest, NumberedLeftoversOfEarlierRunsAreRemoved) {
  put("a.tkw", MakeTkwBytes({}));
  list("1 a.tkw\n");
  put("list.tkr.1.tmp", Bytes(300, 0));        // killed before its header was written
  put("list.tkr.2.tmp", {'T', 'k', 'r', '.'}); // killed before its rename
  put("list.tkr.12.tmp", {});                  // killed before writing anything
  put("list.tkr.3.tmp", {'m', 'i', 'n', 'e'}); // someone else's
  put("list.tkr.x.tmp", Bytes(30, 0));
  put("other.tkr.1.tmp", Bytes(30, 0));
  ASSERT_EQ(convert(), Result::Written);
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"a.tkw", "list.tkr", "list.tkr.3.tmp", "list.tkr.x.tmp", "list.txt",
                                                    "other.tkr.1.tmp"}));
}

#ifndef _WIN32
// A run killed while it writes leaves its temporary file; the next run of
// the list takes it over and leaves nothing behind.
TEST_F(TkrArchiveTemporaryTest, TheRunAfterAKillLeavesNoTemporaryFile) {
  const std::string temporary = dir.file("list.tkr.tmp");
  bool killedMidJob = false;
  for (int copies = 16; !killedMidJob && copies <= 64; copies *= 2) {
    bigJob(copies, 8); // 4 MB a copy
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      TkrListConverter().Convert(dir.file("list.txt").c_str());
      ::_exit(0);
    }
    int status = 0;
    for (;;) {
      struct stat info {};
      if (::stat(temporary.c_str(), &info) == 0 && info.st_size >= 8 << 20) {
        ::kill(child, SIGKILL);
        break;
      }
      if (::waitpid(child, &status, WNOHANG) == child) break; // done before it could be killed
      ::usleep(500);
    }
    ::waitpid(child, &status, 0);
    killedMidJob = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!killedMidJob) plat::removeFile(dir.file("list.tkr").c_str());
  }
  ASSERT_TRUE(killedMidJob);
  ASSERT_TRUE(testutil::FileExists(temporary)) << "the kill left the temporary file";
  EXPECT_FALSE(testutil::FileExists(dir.file("list.tkr")));

  ASSERT_EQ(convert(), Result::Written);
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"big.tkw", "list.tkr", "list.txt"}));
}

std::string fileOfLength(const std::string& base, std::size_t length, const std::string& extension) {
  std::string folder = base;
  while (length - folder.size() > 250) {
    folder += plat::kPathSeparator + std::string(200, 'd');
    plat::makeDirectory(folder.c_str());
  }
  return folder + plat::kPathSeparator + std::string(length - folder.size() - 1 - extension.size(), 'l') + extension;
}

// The temporary name is 4 bytes longer than the archive's: lists of 496 to
// 499 bytes fail cleanly, and the queue goes on with the next list.
TEST_F(TkrArchiveTemporaryTest, ListPathsWhoseTemporaryNameDoesNotFitFailAndTheQueueGoesOn) {
  put("a.tkw", MakeTkwBytes({}));
  const std::string good = dir.file("good.txt");
  testutil::WriteText(good, "1 " + dir.file("a.tkw") + "\n");
  for (std::size_t length = 495; length <= 499; ++length) {
    SCOPED_TRACE(length);
    const std::string longList = fileOfLength(dir.path(), length, ".txt");
    ASSERT_EQ(longList.size(), length);
    testutil::WriteText(longList, "1 " + dir.file("a.tkw") + "\n");
    plat::removeFile(dir.file("good.tkr").c_str());
    TkrConvertQueue queue({longList, good}, "");
    queue.Run();
    EXPECT_TRUE(queue.Done());
    EXPECT_TRUE(testutil::FileExists(dir.file("good.tkr")));
    const std::string archive = TkrListConverter::ArchivePathFor(longList);
    EXPECT_EQ(testutil::FileExists(archive), length == 495);
    EXPECT_FALSE(testutil::FileExists(archive + ".tmp"));
    EXPECT_EQ(queue.Failures(), length == 495 ? 0 : 1);
    if (length > 495) {
      // The line is cut to 499 bytes; the reason comes first, so it stays.
      const std::string reason = "パスが長すぎるため、次のTkrファイルを作成できません : ";
      const auto lines = log.lines();
      EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.rfind(reason + archive.substr(0, 100), 0) == 0;
      }));
    }
  }
}
// A pipe with no writer would hold an open forever: as a list it cannot be
// read, as a named sound it is no .tkw file, and the conversion returns.
TEST_F(TkrArchiveTemporaryTest, PipesAreRefusedWithoutWaiting) {
  put("a.tkw", MakeTkwBytes({}));
  ASSERT_EQ(::mkfifo(dir.file("pipe.txt").c_str(), 0600), 0);
  EXPECT_EQ(TkrListConverter().Convert(dir.file("pipe.txt").c_str()), Result::Failed);
  EXPECT_EQ(log.lines().back(), dir.file("pipe.txt") + " を読み込めませんでした");
  ASSERT_EQ(::mkfifo(dir.file("pipe.tkw").c_str(), 0600), 0);
  list("1 a.tkw\n2 pipe.tkw\n");
  EXPECT_EQ(convert(), Result::Failed);
  EXPECT_EQ(log.lines().back(), "2行目に記述されているファイルは、Tkwファイルではありません");
}
#endif

} // namespace
