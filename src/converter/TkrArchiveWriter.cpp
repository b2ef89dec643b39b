#include "converter/TkrArchiveWriter.h"

#include "platform/Files.h"
#include "support/ByteOrder.h"
#include "support/RFile.h"
#include "support/TkrHeader.h"

#include <cstring>
#include <memory>

namespace {

constexpr auto kCannotCreate = TkrArchiveWriter::Failure::CannotCreate;
constexpr auto kWriteFailed = TkrArchiveWriter::Failure::WriteFailed;
constexpr auto kTooLarge = TkrArchiveWriter::Failure::TooLarge;
constexpr std::uint32_t kCopyBlock = 1u << 20;

// A name in the target's folder that no file holds yet.
std::string temporaryPathFor(const std::string& target) {
  for (int n = 0;; ++n) {
    std::string candidate = target;
    if (n > 0) candidate.append(".").append(std::to_string(n));
    candidate.append(".tmp");
    if (plat::findFile(candidate.c_str()) != plat::FindResult::Found) return candidate;
  }
}

// Removes the temporary file unless the archive was completed.
class TemporaryFile {
public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    file.Close();
    if (!kept_) plat::removeFile(path_.c_str());
  }
  const std::string& path() const { return path_; }
  void keep() { kept_ = true; }

  RFile file;

private:
  std::string path_;
  bool kept_ = false;
};

bool writeAll(RFile& file, const void* bytes, std::size_t size) {
  return size == 0 || file.Write(bytes, static_cast<std::uint32_t>(size)) == size;
}

bool readAll(RFile& file, void* bytes, std::size_t size) {
  return size == 0 || file.Read(bytes, static_cast<std::uint32_t>(size)) == size;
}

// Appends one sound's sector table to `tables` and its data to the archive.
bool copySound(RFile& archive, const TkwSoundFile& sound, std::vector<unsigned char>& tables,
               std::vector<unsigned char>& block) {
  RFile input;
  if (!input.Open(sound.path.c_str(), RFile::kRead)) return false;
  // The file must still be the one that was checked.
  unsigned char header[TkwSoundFile::kHeaderSize];
  if (!readAll(input, header, sizeof header) || std::memcmp(header, sound.header.data(), sizeof header) != 0 ||
      input.Size() != static_cast<std::int64_t>(sound.fileSize))
    return false;
  const std::size_t tableStart = tables.size();
  tables.resize(tableStart + static_cast<std::size_t>(sound.TableSize()));
  if (!readAll(input, tables.data() + tableStart, static_cast<std::size_t>(sound.TableSize()))) return false;
  std::uint64_t left = sound.DataSize();
  while (left > 0) {
    const std::uint32_t step = left < kCopyBlock ? static_cast<std::uint32_t>(left) : kCopyBlock;
    if (!readAll(input, block.data(), step) || !writeAll(archive, block.data(), step)) return false;
    left -= step;
  }
  return true;
}

} // namespace

std::uint64_t TkrArchiveWriter::IndexSize(const std::vector<TkrPackItem>& items) {
  std::uint64_t size = TkrHeader::kSize + 4 + 24 * std::uint64_t{items.size()};
  for (const TkrPackItem& item : items)
    size += item.sound.TableSize();
  return size;
}

TkrArchiveWriter::Outcome TkrArchiveWriter::Fail(Failure failure) {
  failure_ = failure;
  return Outcome::Failed;
}

TkrArchiveWriter::Outcome TkrArchiveWriter::Write(const std::string& archivePath, const std::vector<TkrPackItem>& items,
                                                  std::uint32_t codecVersion, std::string_view password,
                                                  const std::atomic<bool>* stop) {
  failure_ = Failure::None;
  if (items.size() > 0xFFFF) return Fail(kTooLarge);
  const std::uint64_t indexSize = IndexSize(items);
  std::uint64_t totalSize = indexSize;
  for (const TkrPackItem& item : items)
    totalSize += item.sound.DataSize();
  if (totalSize > 0xFFFFFFFFull) return Fail(kTooLarge);

  TemporaryFile output(temporaryPathFor(archivePath));
  if (!output.file.Open(output.path().c_str(), RFile::kCreate)) return Fail(kCannotCreate);
  if (output.file.Seek(static_cast<std::int64_t>(indexSize)) != static_cast<std::int64_t>(indexSize))
    return Fail(kWriteFailed);

  std::vector<unsigned char> tables;
  std::vector<unsigned char> offsets(4 * items.size());
  std::vector<unsigned char> block(kCopyBlock);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (stop && stop->load()) return Outcome::Stopped;
    StoreLe32(offsets.data() + 4 * i, static_cast<std::uint32_t>(output.file.Position()));
    if (!copySound(output.file, items[i].sound, tables, block)) return Fail(kWriteFailed);
  }
  if (output.file.Position() != static_cast<std::int64_t>(totalSize)) return Fail(kWriteFailed);

  TkrHeader header;
  header.totalLength = static_cast<std::uint32_t>(totalSize);
  header.checkWord = TkrHeader::CheckWord(header.totalLength, password);
  header.layout = 2;
  header.count = static_cast<std::uint16_t>(items.size());

  std::vector<unsigned char> index(static_cast<std::size_t>(indexSize));
  unsigned char* p = index.data();
  header.Store(p);
  p += TkrHeader::kSize;
  StoreLe32(p, codecVersion);
  p += 4;
  for (const TkrPackItem& item : items) {
    StoreLe32(p, item.number);
    p += 4;
  }
  for (const TkrPackItem& item : items) {
    std::memcpy(p, item.sound.IndexEntry(), 16);
    p += 16;
  }
  if (!offsets.empty()) std::memcpy(p, offsets.data(), offsets.size());
  p += offsets.size();
  if (!tables.empty()) std::memcpy(p, tables.data(), tables.size());

  if (output.file.Seek(0) != 0 || !writeAll(output.file, index.data(), index.size())) return Fail(kWriteFailed);
  output.file.Close();
  if (stop && stop->load()) return Outcome::Stopped;
  if (!plat::renameFile(output.path().c_str(), archivePath.c_str())) return Fail(kCannotCreate);
  output.keep();
  return Outcome::Written;
}
