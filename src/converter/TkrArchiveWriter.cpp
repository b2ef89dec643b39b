#include "converter/TkrArchiveWriter.h"

#include "format/TkrIndex.h"
#include "platform/Files.h"
#include "support/Exceptions.h"
#include "support/FileByteSource.h"
#include "support/RFile.h"
#include "support/RString.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr auto kCannotCreate = TkrArchiveWriter::Failure::CannotCreate;
constexpr auto kWriteFailed = TkrArchiveWriter::Failure::WriteFailed;
constexpr auto kTooLarge = TkrArchiveWriter::Failure::TooLarge;
constexpr auto kPathTooLong = TkrArchiveWriter::Failure::PathTooLong;
constexpr auto kInUse = TkrArchiveWriter::Failure::InUse;
constexpr std::uint32_t kCopyBlock = 1u << 20;

// The one temporary name of a target. Whoever writes it holds it
// exclusively, so a file of that name that opens is no other run's work in
// progress: it is what a killed run left, and it is taken over.
std::string temporaryPathFor(const std::string& target) { return target + ".tmp"; }

// True when the first bytes of the file are those of an archive that was
// never finished: all zero (its header is written last), or a header that
// was written just before the run ended.
bool isUnfinishedArchive(RFile& file) {
  unsigned char head[TkrHeader::kSize] = {};
  const std::uint32_t got = file.Read(head, sizeof head);
  if (got >= 4 && std::memcmp(head, TkrHeader::kMagic, 4) == 0) return true;
  return std::all_of(head, head + got, [](unsigned char byte) { return byte == 0; });
}

// Earlier versions wrote "<target>.<n>.tmp" when "<target>.tmp" was taken,
// and a killed run left it behind. Those that no process holds and that are
// unfinished archives are removed.
void removeNumberedLeftovers(const std::string& target) {
  const char* separator = FindLastSeparator(target.c_str());
  const std::string folder =
      separator ? target.substr(0, static_cast<std::size_t>(separator - target.c_str())) : plat::currentDirectory();
  const std::string name = separator ? std::string(separator + 1) : target;
  std::vector<plat::FindEntry> entries;
  if (!plat::listDirectory(folder.empty() ? std::string(1, plat::kPathSeparator).c_str() : folder.c_str(), entries))
    return;
  for (const plat::FindEntry& entry : entries) {
    const std::string& candidate = entry.name;
    if (entry.isDirectory || entry.isSpecial || candidate.size() <= name.size() + 5) continue;
    if (candidate.compare(0, name.size() + 1, name + ".") != 0) continue;
    if (candidate.compare(candidate.size() - 4, 4, ".tmp") != 0) continue;
    const std::string number = candidate.substr(name.size() + 1, candidate.size() - name.size() - 5);
    if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    const std::string path = (separator ? folder + plat::kPathSeparator : std::string()) + candidate;
    RFile file;
    // Opening for writing fails while another process writes it.
    if (!file.Open(path.c_str(), RFile::kReadWrite)) continue;
    const bool leftover = isUnfinishedArchive(file);
    file.Close();
    if (leftover) plat::removeFile(path.c_str());
  }
}

// Removes the temporary file unless the archive was completed; a file that
// could not be opened as ours is never touched.
class TemporaryFile {
public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    file.Close();
    if (opened_ && !kept_) plat::removeFile(path_.c_str());
  }
  bool open() {
    opened_ = file.Open(path_.c_str(), RFile::kCreate);
    return opened_;
  }
  const std::string& path() const { return path_; }
  void keep() { kept_ = true; }

  RFile file;

private:
  std::string path_;
  bool opened_ = false;
  bool kept_ = false;
};

bool writeAll(RFile& file, const void* bytes, std::size_t size) {
  return size == 0 || file.Write(bytes, static_cast<std::uint32_t>(size)) == size;
}

// True when the file still holds the header, table and size that were
// checked; leaves it at the data area.
bool isUnchanged(FileByteSource& input, const TkwSoundFile& sound) {
  decltype(sound.header) header{};
  if (!input.IsOpen() || input.Size() != static_cast<std::int64_t>(sound.fileSize)) return false;
  if (input.Read(header.data(), static_cast<std::uint32_t>(header.size())) != header.size() || header != sound.header)
    return false;
  try {
    input.Seek(0);
    const TkwFileLayout layout = ReadTkwFileLayout(input);
    return layout.header == sound.layout.header && layout.table == sound.layout.table;
  } catch (const TKW_BadFormat&) {
    return false;
  }
}

// Appends one sound's data area to the archive.
bool copySound(RFile& archive, const TkwSoundFile& sound, std::vector<unsigned char>& block) {
  FileByteSource input(sound.path.c_str());
  if (!isUnchanged(input, sound)) return false;
  std::uint64_t left = sound.DataSize();
  while (left > 0) {
    const std::uint32_t step = left < kCopyBlock ? static_cast<std::uint32_t>(left) : kCopyBlock;
    if (input.Read(block.data(), step) != step || !writeAll(archive, block.data(), step)) return false;
    left -= step;
  }
  return true;
}

} // namespace

TkrArchiveWriter::Outcome TkrArchiveWriter::Fail(Failure failure) {
  failure_ = failure;
  return Outcome::Failed;
}

TkrArchiveWriter::Outcome TkrArchiveWriter::Write(const std::string& archivePath, const std::vector<TkrPackItem>& items,
                                                  std::uint32_t codecVersion, std::string_view password,
                                                  const std::atomic<bool>* stop) {
  failure_ = Failure::None;
  if (items.size() > 0xFFFF) return Fail(kTooLarge);
  TkrIndex index;
  index.header.layout = 2;
  index.codecVersion = codecVersion;
  for (const TkrPackItem& item : items)
    index.entries.push_back(TkrIndexEntry{item.number, item.sound.layout.header, item.sound.layout.table, 0});
  const std::uint64_t indexSize = index.Size();
  std::uint64_t totalSize = indexSize;
  for (const TkrPackItem& item : items)
    totalSize += item.sound.DataSize();
  if (totalSize > 0xFFFFFFFFull) return Fail(kTooLarge);

  TemporaryFile output(temporaryPathFor(archivePath));
  // Neither name may be cut to fit a path buffer: it would name another file.
  if (output.path().size() >= RString::kCapacity) return Fail(kPathTooLong);
  removeNumberedLeftovers(archivePath);
  if (!output.open()) return Fail(plat::isInUse(plat::lastError()) ? kInUse : kCannotCreate);
  if (output.file.Seek(static_cast<std::int64_t>(indexSize)) != static_cast<std::int64_t>(indexSize))
    return Fail(kWriteFailed);

  std::vector<unsigned char> block(kCopyBlock);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (stop && stop->load()) return Outcome::Stopped;
    index.entries[i].dataOffset = static_cast<std::uint32_t>(output.file.Position());
    if (!copySound(output.file, items[i].sound, block)) return Fail(kWriteFailed);
  }
  if (output.file.Position() != static_cast<std::int64_t>(totalSize)) return Fail(kWriteFailed);

  index.header.totalLength = static_cast<std::uint32_t>(totalSize);
  index.header.checkWord = TkrHeader::CheckWord(index.header.totalLength, password);
  const std::vector<unsigned char> front = index.Bytes();
  if (output.file.Seek(0) != 0 || !writeAll(output.file, front.data(), front.size())) return Fail(kWriteFailed);
  output.file.Close();
  if (stop && stop->load()) return Outcome::Stopped;
  if (!plat::renameFile(output.path().c_str(), archivePath.c_str())) return Fail(kCannotCreate);
  output.keep();
  return Outcome::Written;
}
