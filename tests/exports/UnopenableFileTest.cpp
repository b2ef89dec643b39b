// Files that are there but cannot be opened: at the process's limit of open
// files a good sound is no bad format (status 2, not 3), and a read that
// cannot open its file fails instead of delivering silence as success. A
// pipe or device is refused at once as no sound, never waited on.
#include "testutil/MessageBoxCapture.h"
#include "testutil/TempDir.h"
#include "testutil/TkrTestArchive.h"
#include "testutil/TkwTestWriter.h"
#include "tkwDec32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Takes every file descriptor the process may still open, under a lowered
// limit, and gives them back (and the limit) when it ends.
class AllDescriptorsTaken {
public:
  AllDescriptorsTaken() {
    ::getrlimit(RLIMIT_NOFILE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, 256);
    ::setrlimit(RLIMIT_NOFILE, &lowered);
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
      taken_.push_back(fd);
  }
  ~AllDescriptorsTaken() {
    for (int fd : taken_)
      ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &saved_);
  }
  AllDescriptorsTaken(const AllDescriptorsTaken&) = delete;
  AllDescriptorsTaken& operator=(const AllDescriptorsTaken&) = delete;

private:
  rlimit saved_{};
  std::vector<int> taken_;
};

class UnopenableFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    sound = testutil::MakeRandomTkwSound(5, {}, 2, 3000);
    tkw = dir.file("s.tkw");
    testutil::WriteBytes(tkw, sound.bytes);
    tkr = dir.file("a.tkr");
    testutil::WriteBytes(tkr, testutil::BuildTkrArchive({{9, sound.bytes}}));
    list = dir.file("l.txt");
    testutil::WriteText(list, "4 s.tkw\n");
  }

  testutil::TempDir dir;
  testutil::TkwTestSound sound;
  std::string tkw, tkr, list;
};

TEST_F(UnopenableFileTest, AtTheDescriptorLimitOpeningAGoodFileGivesStatus2) {
  // Each file opens while descriptors are free. (This also lets the
  // sanitizers meet every type before they have no descriptor to work with.)
  TkrDecodeHandle* index = nullptr;
  ASSERT_EQ(tkrDecodeOpen(&index, tkr.c_str(), nullptr), TKW_OK);
  EXPECT_EQ(tkrDecodeAddList(index, list.c_str(), nullptr), TKW_OK);
  EXPECT_EQ(tkrDecodeAddTkw(index, tkw.c_str(), 1), TKW_OK);
  for (std::uint32_t flags : {0u, static_cast<std::uint32_t>(TKW_OPEN_STREAM)}) {
    TkwDecodeHandle* handle = nullptr;
    ASSERT_EQ(tkwDecodeOpen(&handle, tkw.c_str(), flags), TKW_OK);
    EXPECT_EQ(tkwDecodeClose(handle), TKW_OK);
  }
  EXPECT_EQ(tkrDecodeClose(index), TKW_OK);
  index = nullptr;
  ASSERT_EQ(tkrDecodeOpenNaked(&index), TKW_OK);
  {
    testutil::MessageBoxCapture boxes;
    AllDescriptorsTaken full;
    TkwDecodeHandle* handle = nullptr;
    EXPECT_EQ(tkwDecodeOpen(&handle, tkw.c_str(), 0), TKW_ERR_FILE_NOT_FOUND);
    EXPECT_EQ(handle, nullptr);
    TkrDecodeHandle* opened = nullptr;
    TkrSoundSetId id = nullptr;
    EXPECT_EQ(tkrDecodeOpenPass(&opened, tkr.c_str(), nullptr, &id), TKW_ERR_FILE_NOT_FOUND);
    EXPECT_EQ(opened, nullptr);
    EXPECT_EQ(tkrDecodeAddTkrPass(index, tkr.c_str(), nullptr, &id), TKW_ERR_FILE_NOT_FOUND);
    EXPECT_EQ(tkrDecodeAddTkw(index, tkw.c_str(), 1), TKW_ERR_FILE_NOT_FOUND);
    EXPECT_EQ(tkrDecodeAddList(index, list.c_str(), &id), TKW_ERR_FILE_NOT_FOUND);
    EXPECT_TRUE(boxes.messages().empty()) << "no list line is to blame";
  }
  // Nothing was added, and every file opens once descriptors are free.
  std::int32_t exists = 1;
  for (std::uint32_t number : {1u, 4u, 9u}) {
    EXPECT_EQ(tkrDecodeIsTkwExist(index, number, &exists), TKW_OK);
    EXPECT_EQ(exists, 0) << number;
  }
  EXPECT_EQ(tkrDecodeAddList(index, list.c_str(), nullptr), TKW_OK);
  EXPECT_EQ(tkrDecodeAddTkrPass(index, tkr.c_str(), nullptr, nullptr), TKW_OK);
  EXPECT_EQ(tkrDecodeClose(index), TKW_OK);
}

TEST_F(UnopenableFileTest, AtTheDescriptorLimitAReadFailsAndLeavesCountAndPosition) {
  TkrDecodeHandle* index = nullptr;
  ASSERT_EQ(tkrDecodeOpen(&index, tkr.c_str(), nullptr), TKW_OK);
  TkwDecodeHandle* single = nullptr;
  ASSERT_EQ(tkwDecodeOpen(&single, tkw.c_str(), TKW_OPEN_LOOP), TKW_OK);
  TkwDecodeHandle* archived = nullptr;
  ASSERT_EQ(tkrDecodeTkwOpen(index, &archived, 9, TKW_OPEN_STREAM), TKW_OK);
  std::vector<std::int16_t> pcm(2 * 500);
  for (TkwDecodeHandle* handle : {single, archived})
    ASSERT_EQ(tkwDecodeRead(handle, pcm.data(), 100, nullptr), TKW_OK);
  {
    testutil::MessageBoxCapture boxes;
    AllDescriptorsTaken full;
    for (TkwDecodeHandle* handle : {single, archived}) {
      std::uint32_t delivered = 12345;
      std::fill(pcm.begin(), pcm.end(), std::int16_t{9});
      EXPECT_EQ(tkwDecodeRead(handle, pcm.data(), 500, &delivered), TKW_ERR_FILE_NOT_FOUND);
      EXPECT_EQ(delivered, 12345u);
      EXPECT_TRUE(std::all_of(pcm.begin(), pcm.end(), [](std::int16_t v) { return v == 0; }));
    }
    // A sound opened at the limit is handed out and warns; its reads fail
    // until its file opens again.
    TkwDecodeHandle* late = nullptr;
    EXPECT_EQ(tkrDecodeTkwOpen(index, &late, 9, 0), TKW_OK);
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(tkwDecodeRead(late, pcm.data(), 500, nullptr), TKW_ERR_FILE_NOT_FOUND);
    EXPECT_EQ(tkwDecodeClose(late), TKW_OK);
    ASSERT_EQ(boxes.messages().size(), 4u);
    for (const auto& box : boxes.messages())
      EXPECT_EQ(box.caption, "Debug");
  }
  // Once files open again each sound goes on from frame 100.
  for (TkwDecodeHandle* handle : {single, archived}) {
    std::uint32_t delivered = 0;
    EXPECT_EQ(tkwDecodeRead(handle, pcm.data(), 500, &delivered), TKW_OK);
    EXPECT_EQ(delivered, 500u);
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), sound.pcm.begin() + 2 * 100));
    EXPECT_EQ(tkwDecodeClose(handle), TKW_OK);
  }
  EXPECT_EQ(tkrDecodeClose(index), TKW_OK);
}

// A pipe with no writer would hold an open forever; it is no sound, no
// archive and no list, and the calls return at once.
TEST_F(UnopenableFileTest, APipeIsRefusedWithoutWaiting) {
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  testutil::MessageBoxCapture boxes;
  TkwDecodeHandle* handle = nullptr;
  EXPECT_EQ(tkwDecodeOpen(&handle, pipe.c_str(), 0), TKW_ERR_BAD_FORMAT);
  TkrDecodeHandle* index = nullptr;
  EXPECT_EQ(tkrDecodeOpenPass(&index, pipe.c_str(), "pw", nullptr), TKW_ERR_BAD_FORMAT);
  ASSERT_EQ(tkrDecodeOpenNaked(&index), TKW_OK);
  EXPECT_EQ(tkrDecodeAddTkw(index, pipe.c_str(), 1), TKW_ERR_BAD_FORMAT);
  EXPECT_EQ(tkrDecodeAddList(index, pipe.c_str(), nullptr), TKW_ERR_FILE_NOT_FOUND); // no list text to read
  // A list line that names the pipe is a line naming no .tkw file.
  testutil::WriteText(list, "4 s.tkw\n5 pipe\n");
  TkrSoundSetId id = reinterpret_cast<TkrSoundSetId>(&dir);
  EXPECT_EQ(tkrDecodeAddList(index, list.c_str(), &id), TKW_OK);
  EXPECT_EQ(id, nullptr);
  ASSERT_EQ(boxes.messages().size(), 1u);
  EXPECT_EQ(boxes.messages()[0].text, "2行目に記述されているファイルは、Tkwファイルではありません");
  EXPECT_EQ(tkrDecodeClose(index), TKW_OK);
}

} // namespace
#endif
