#include "decoder/TkrArchive.h"

#include "decoder/TkwBlockDecoderFactory.h"
#include "decoder/TkwDecodeHandle.h"
#include "support/Exceptions.h"
#include "support/FileByteSource.h"
#include "support/RFile.h"
#include "support/WindowByteSource.h"

TkrArchive::~TkrArchive() = default;

std::unique_ptr<TkrArchive> TkrArchive::Read(const char* path, const char* password) {
  auto file = std::make_unique<FileByteSource>(path);
  if (!file->IsOpen()) {
    // A folder, device or pipe is no archive; a file of data that does not
    // open now (no handle left) may be a good one.
    if (RFile::NamesDataFile(path)) throw TKR_CannotOpen();
    throw TKR_BadFormat();
  }
  return Read(std::move(file), password);
}

std::unique_ptr<TkrArchive> TkrArchive::Read(std::unique_ptr<ByteSource> source, const char* password) {
  std::unique_ptr<TkrArchive> archive(new TkrArchive());
  archive->index_ = ReadTkrIndex(*source, password ? password : "");
  archive->source_ = std::move(source);
  archive->numbers_.reserve(archive->index_.entries.size());
  for (const TkrIndexEntry& entry : archive->index_.entries) {
    archive->numbers_.push_back(entry.number);
    archive->prototypes_.push_back(MakeTkwBlockDecoder(entry.header));
  }
  return archive;
}

std::unique_ptr<TkwDecodeHandle> TkrArchive::OpenSound(std::size_t index, std::uint32_t flags,
                                                       const TkwMessageSink& sink) const {
  const TkrIndexEntry& entry = index_.entries.at(index);
  const std::int64_t dataSize = std::int64_t{index_.header.totalLength} - entry.dataOffset;
  auto data = std::make_unique<WindowByteSource>(source_->Reopen(), entry.dataOffset, dataSize);
  return TkwDecodeHandle::Create(std::move(data), entry.header, entry.table, prototypes_[index]->Clone(), flags, sink);
}
