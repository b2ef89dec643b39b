// The tkwDecode… exports: single-file decoding for host programs. Every
// export that can meet a condition answers it with a status.
#include "decoder/TkwDecodeHandle.h"
#include "exports/ExportStatus.h"
#include "exports/MessageBoxSink.h"
#include "platform/Files.h"
#include "support/Exceptions.h"
#include "support/RString.h"

#include "tkwDec32.h"

#include <cstring>

// The opaque handle type of the public header is the TkwDecodeHandle class.

namespace {

constexpr exports::Family kFamily = exports::Family::Decode;

} // namespace

extern "C" {

TKW_API int32_t TKW_CALL tkwDecodeOpen(TkwDecodeHandle** handle, const char* path, uint32_t flags) {
  if (handle == nullptr || path == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *handle = nullptr;
  return exports::Guarded(kFamily, [&] {
    // Longer paths do not fit the handle's path buffer; nothing is opened.
    if (std::strlen(path) >= RString::kCapacity) return TKW_ERR_PATH_TOO_LONG;
    if (plat::findFile(path) != plat::FindResult::Found) return TKW_ERR_FILE_NOT_FOUND;
    *handle = TkwDecodeHandle::Open(path, flags, exports::MessageBoxSink()).release();
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkwDecodeGetLength(TkwDecodeHandle* handle, uint32_t* length) {
  if (handle == nullptr || length == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *length = handle->Decoder().Length();
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkwDecodeGetFormat(TkwDecodeHandle* handle, TkwWaveFormat* format) {
  if (handle == nullptr || format == nullptr) return TKW_ERR_NULL_ARGUMENT;
  const TkwDecoder& decoder = handle->Decoder();
  const auto channels = static_cast<uint16_t>(decoder.Channels());
  format->formatTag = 1;
  format->channels = channels;
  format->samplesPerSec = decoder.SampleRate();
  format->avgBytesPerSec = decoder.SampleRate() * channels * 2u;
  format->blockAlign = static_cast<uint16_t>(channels * 2);
  format->bitsPerSample = 16;
  format->extraSize = 0;
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkwDecodeGetNumSector(TkwDecodeHandle* handle, int32_t* count) {
  if (handle == nullptr || count == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *count = static_cast<int32_t>(handle->Decoder().SectorCount());
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkwDecodeSetSector(TkwDecodeHandle* handle, int32_t sector) {
  if (handle == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return handle->SetSector(sector) ? TKW_OK : TKW_ERR_SECTOR_RANGE;
}

TKW_API int32_t TKW_CALL tkwDecodeRead(TkwDecodeHandle* handle, int16_t* buffer, uint32_t frames, uint32_t* delivered) {
  if (handle == nullptr || buffer == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(
      kFamily,
      [&] {
        uint32_t got = 0;
        const int32_t status = handle->Read(buffer, frames, &got);
        if (delivered != nullptr) *delivered = got;
        return status;
      },
      [&](int32_t status) {
        if (status == TKW_ERR_FILE_NOT_FOUND) {
          // The file did not open again, so nothing was read: the count and the
          // position stay as they were, and a caller that looks only at the
          // buffer hears silence, not stale samples.
          std::memset(buffer, 0, std::size_t{frames} * static_cast<std::size_t>(handle->Decoder().Channels()) * 2);
        } else if (delivered != nullptr) {
          // Only memory exhaustion gets here; the sound was checked at open.
          *delivered = 0;
        }
      });
}

TKW_API int32_t TKW_CALL tkwDecodeReadPulse(TkwDecodeHandle* handle, int16_t* buffer, uint32_t frames,
                                            uint32_t* delivered) {
  if (handle == nullptr || buffer == nullptr) return TKW_ERR_NULL_ARGUMENT;
  const uint32_t got = handle->ReadPulse(buffer, frames);
  if (delivered != nullptr) *delivered = got;
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkwDecodeClose(TkwDecodeHandle* handle) {
  if (handle == nullptr) return TKW_ERR_NULL_ARGUMENT;
  delete handle;
  return TKW_OK;
}

} // extern "C"
