#include "decoder/TkwDecodeHandle.h"

#include "decoder/TkwSectorDecoder.h"
#include "decoder/TkwStreamDecoder.h"
#include "platform/UserInterface.h"
#include "support/Exceptions.h"

#include <limits>

namespace {

void OpenOrWarn(RFile& file, const char* path) {
  if (!file.Open(path, RFile::kRead)) plat::messageBox(kTkwReopenFailedText, kTkwReopenFailedCaption);
}

// A sound's file that does not open: a folder, device or pipe is no sound; a
// file of data that does not open now (no handle left) may be a good one.
[[noreturn]] void ThrowOpenFailure(const char* path) {
  if (RFile::NamesDataFile(path)) throw TKW_CannotOpen();
  throw TKW_BadFormat();
}

} // namespace

TkwDecodeHandle::TkwDecodeHandle(std::uint32_t flags) : loop_((flags & kTkwOpenLoop) != 0) {
  if (flags & kTkwOpenStream)
    decoder_ = std::make_unique<TkwStreamDecoder>();
  else
    decoder_ = std::make_unique<TkwSectorDecoder>();
}

std::unique_ptr<TkwDecodeHandle> TkwDecodeHandle::Open(const char* path, std::uint32_t flags) {
  std::unique_ptr<TkwDecodeHandle> handle(new TkwDecodeHandle(flags));
  if (!handle->file_.Open(path, RFile::kRead)) ThrowOpenFailure(path);
  TkwFileLayout layout = ReadTkwFileLayout(handle->file_);
  handle->dataOffset_ = layout.dataOffset;
  auto blocks = MakeTkwBlockDecoder(layout.header);
  handle->decoder_->Init(layout.header, std::move(layout.table), std::move(blocks));
  return handle;
}

std::unique_ptr<TkwDecodeHandle> TkwDecodeHandle::Create(const char* path, std::int64_t dataOffset,
                                                         const TkwHeaderValues& header,
                                                         std::vector<TkwSectorEntry> table,
                                                         std::unique_ptr<TkwBlockDecoder> blockDecoder,
                                                         std::uint32_t flags) {
  // The structure the decoder's buffers depend on is checked here as well, so
  // no caller can hand over values that would take it out of bounds.
  CheckTkwHeaderValues(header);
  CheckTkwSectorTable(header, table, std::numeric_limits<std::int64_t>::max());
  std::unique_ptr<TkwDecodeHandle> handle(new TkwDecodeHandle(flags));
  OpenOrWarn(handle->file_, path);
  handle->dataOffset_ = dataOffset;
  handle->decoder_->Init(header, std::move(table), std::move(blockDecoder));
  return handle;
}

std::int32_t TkwDecodeHandle::ReadOnce(RFile& file, std::int16_t* buffer, std::uint32_t frames,
                                       std::uint32_t* delivered) {
  if (decoder_->EntriesLeft())
    file.Seek(dataOffset_ + decoder_->Table()[decoder_->NextEntry()].offset, plat::SeekOrigin::Begin);
  return decoder_->Read(file, buffer, frames, delivered);
}

std::int32_t TkwDecodeHandle::Read(std::int16_t* buffer, std::uint32_t frames, std::uint32_t* delivered) {
  // The file is opened again for the call; without it nothing can be read,
  // and delivering silence as if it had been read would hide the failure.
  RFile file;
  if (!file.Open(file_.Name().c_str(), RFile::kRead)) {
    plat::messageBox(kTkwReopenFailedText, kTkwReopenFailedCaption);
    throw TKW_CannotOpen();
  }
  const std::size_t channels = static_cast<std::size_t>(decoder_->Channels());
  std::uint32_t done = 0;
  for (;;) {
    std::uint32_t got = 0;
    const std::int32_t status = ReadOnce(file, buffer + std::size_t{done} * channels, frames - done, &got);
    done += got;
    // A sound without frames would wrap forever: its first pass ends the call.
    if (!loop_ || done >= frames || got == 0) {
      *delivered = done;
      return loop_ ? TkwDecoder::kStatusOk : status;
    }
  }
}

std::uint32_t TkwDecodeHandle::ReadPulse(std::int16_t* buffer, std::uint32_t frames) {
  return decoder_->ReadDecoded(buffer, frames);
}

bool TkwDecodeHandle::SetSector(std::int32_t sector) {
  if (sector < 0 || static_cast<std::uint32_t>(sector) >= decoder_->SectorCount()) return false;
  decoder_->SelectSector(static_cast<std::uint32_t>(sector));
  return true;
}
