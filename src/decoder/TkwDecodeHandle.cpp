#include "decoder/TkwDecodeHandle.h"

#include "decoder/TkwBlockDecoderFactory.h"
#include "decoder/TkwSectorDecoder.h"
#include "decoder/TkwStreamDecoder.h"
#include "format/TkwFileLayout.h"
#include "support/Exceptions.h"
#include "support/FileByteSource.h"
#include "support/RFile.h"
#include "support/WindowByteSource.h"

#include <limits>

namespace {

// A sound's file that does not open: a folder, device or pipe is no sound; a
// file of data that does not open now (no handle left) may be a good one.
[[noreturn]] void ThrowOpenFailure(const char* path) {
  if (RFile::NamesDataFile(path)) throw TKW_CannotOpen();
  throw TKW_BadFormat();
}

} // namespace

TkwDecodeHandle::TkwDecodeHandle(std::uint32_t flags, TkwMessageSink sink)
    : loop_((flags & kTkwOpenLoop) != 0), sink_(std::move(sink)) {
  if (flags & kTkwOpenStream)
    decoder_ = std::make_unique<TkwStreamDecoder>();
  else
    decoder_ = std::make_unique<TkwSectorDecoder>();
}

void TkwDecodeHandle::Tell(const char* text, const char* caption) const {
  if (sink_) sink_(text, caption);
}

std::unique_ptr<TkwDecodeHandle> TkwDecodeHandle::Open(const char* path, std::uint32_t flags, TkwMessageSink sink) {
  auto file = std::make_unique<FileByteSource>(path);
  if (!file->IsOpen()) ThrowOpenFailure(path);
  return Open(std::move(file), flags, std::move(sink));
}

std::unique_ptr<TkwDecodeHandle> TkwDecodeHandle::Open(std::unique_ptr<ByteSource> file, std::uint32_t flags,
                                                       TkwMessageSink sink) {
  TkwFileLayout layout = ReadTkwFileLayout(*file);
  const std::int64_t dataSize = file->Size() - layout.dataOffset;
  std::unique_ptr<TkwDecodeHandle> handle(new TkwDecodeHandle(flags, std::move(sink)));
  handle->data_ = std::make_unique<WindowByteSource>(std::move(file), layout.dataOffset, dataSize);
  handle->decoder_->Init(layout.header, std::move(layout.table), MakeTkwBlockDecoder(layout.header));
  return handle;
}

std::unique_ptr<TkwDecodeHandle> TkwDecodeHandle::Create(std::unique_ptr<ByteSource> data,
                                                         const TkwHeaderValues& header, TkwSectorTable table,
                                                         std::unique_ptr<TkwBlockDecoder> blockDecoder,
                                                         std::uint32_t flags, TkwMessageSink sink) {
  // The structure the decoder's buffers depend on is checked here as well, so
  // no caller can hand over values that would take it out of bounds.
  CheckTkwHeaderValues(header);
  const bool open = data->IsOpen();
  CheckTkwSectorTable(header, table, open ? data->Size() : std::numeric_limits<std::int64_t>::max());
  std::unique_ptr<TkwDecodeHandle> handle(new TkwDecodeHandle(flags, std::move(sink)));
  if (!open) handle->Tell(kTkwReopenFailedText, kTkwReopenFailedCaption);
  handle->data_ = std::move(data);
  handle->decoder_->Init(header, std::move(table), std::move(blockDecoder));
  return handle;
}

std::int32_t TkwDecodeHandle::ReadOnce(ByteSource& data, std::int16_t* buffer, std::uint32_t frames,
                                       std::uint32_t* delivered) {
  if (decoder_->EntriesLeft()) data.Seek(decoder_->Table()[decoder_->NextEntry()].offset);
  return decoder_->Read(data, buffer, frames, delivered);
}

std::int32_t TkwDecodeHandle::Read(std::int16_t* buffer, std::uint32_t frames, std::uint32_t* delivered) {
  // The data is opened again for the call; without it nothing can be read,
  // and delivering silence as if it had been read would hide the failure.
  const std::unique_ptr<ByteSource> data = data_->Reopen();
  if (!data->IsOpen()) {
    Tell(kTkwReopenFailedText, kTkwReopenFailedCaption);
    throw TKW_CannotOpen();
  }
  const std::size_t channels = static_cast<std::size_t>(decoder_->Channels());
  std::uint32_t done = 0;
  for (;;) {
    std::uint32_t got = 0;
    const std::int32_t status = ReadOnce(*data, buffer + std::size_t{done} * channels, frames - done, &got);
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
