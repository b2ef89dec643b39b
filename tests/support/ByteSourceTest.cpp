#include "support/FileByteSource.h"
#include "support/MemoryByteSource.h"
#include "support/WindowByteSource.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using testutil::TempDir;

const std::vector<unsigned char> kBytes = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};

std::string ReadAll(ByteSource& source, std::uint32_t count) {
  std::string text(count, '\0');
  text.resize(source.Read(text.data(), count));
  return text;
}

// Every kind of source answers alike for the same ten bytes.
std::vector<std::unique_ptr<ByteSource>> TenByteSources(const TempDir& dir) {
  const std::string path = dir.file("ten.bin");
  testutil::WriteBytes(path, std::vector<std::uint8_t>(kBytes.begin(), kBytes.end()));
  std::vector<unsigned char> padded = {'x', 'x'};
  padded.insert(padded.end(), kBytes.begin(), kBytes.end());
  padded.push_back('y');
  std::vector<std::unique_ptr<ByteSource>> sources;
  sources.push_back(std::make_unique<FileByteSource>(path.c_str()));
  sources.push_back(std::make_unique<MemoryByteSource>(kBytes.data(), kBytes.size()));
  sources.push_back(std::make_unique<MemoryByteSource>(kBytes));
  sources.push_back(std::make_unique<WindowByteSource>(std::make_unique<MemoryByteSource>(padded), 2, 10));
  return sources;
}

TEST(ByteSource, ReadsSeeksAndStopsAtTheEnd) {
  TempDir dir;
  for (const auto& source : TenByteSources(dir)) {
    ASSERT_TRUE(source->IsOpen());
    EXPECT_EQ(source->Size(), 10);
    EXPECT_EQ(ReadAll(*source, 4), "0123");
    EXPECT_EQ(ReadAll(*source, 3), "456");
    ASSERT_TRUE(source->Seek(8));
    EXPECT_EQ(ReadAll(*source, 5), "89") << "a read at the end comes back short";
    EXPECT_EQ(ReadAll(*source, 5), "");
    ASSERT_TRUE(source->Seek(1));
    EXPECT_EQ(ReadAll(*source, 2), "12");
  }
}

TEST(ByteSource, AReopenedSourceHasAPositionOfItsOwn) {
  TempDir dir;
  for (const auto& source : TenByteSources(dir)) {
    ASSERT_TRUE(source->Seek(6));
    const std::unique_ptr<ByteSource> other = source->Reopen();
    ASSERT_TRUE(other->IsOpen());
    EXPECT_EQ(other->Size(), 10);
    ASSERT_TRUE(other->Seek(2));
    EXPECT_EQ(ReadAll(*other, 2), "23");
    EXPECT_EQ(ReadAll(*source, 2), "67");
  }
}

TEST(ByteSource, AWindowNeverReadsOutsideItself) {
  auto window = std::make_unique<WindowByteSource>(std::make_unique<MemoryByteSource>(kBytes), 3, 4);
  EXPECT_EQ(ReadAll(*window, 10), "3456");
  ASSERT_TRUE(window->Seek(3));
  EXPECT_EQ(ReadAll(*window, 10), "6");
  EXPECT_TRUE(window->Seek(9)) << "past the end is a position, as in a file";
  EXPECT_EQ(ReadAll(*window, 10), "");
  EXPECT_FALSE(window->Seek(-1));

  // A window reaching past its base ends with the base.
  WindowByteSource beyond(std::make_unique<MemoryByteSource>(kBytes), 8, 100);
  EXPECT_EQ(ReadAll(beyond, 10), "89");
}

TEST(ByteSource, AFileThatIsGoneIsNotOpenAndReopensOnceItIsBack) {
  TempDir dir;
  const std::string path = dir.file("later.bin");
  FileByteSource missing(path.c_str());
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_FALSE(missing.Reopen()->IsOpen());
  testutil::WriteBytes(path, {'a', 'b'});
  const std::unique_ptr<ByteSource> reopened = missing.Reopen();
  ASSERT_TRUE(reopened->IsOpen());
  EXPECT_EQ(ReadAll(*reopened, 5), "ab");
  EXPECT_EQ(missing.Path(), path);
}

} // namespace
