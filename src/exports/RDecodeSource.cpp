#include "exports/RDecodeSource.h"

#include "decoder/TkwChunkCapacity.h"
#include "decoder/TkwDecodeHandle.h"

RDecodeSource::RDecodeSource(TkwDecodeHandle* handle, std::uint32_t soundNumber, std::uint32_t flags)
    : handle_(handle) {
  loop = (flags & TKW_OPEN_LOOP) != 0;
  number = soundNumber;
}

RDecodeSource::~RDecodeSource() { tkwDecodeClose(handle_); }

std::uint32_t RDecodeSource::GetLength() {
  std::uint32_t length = 0;
  return tkwDecodeGetLength(handle_, &length) == TKW_OK ? length : 0;
}

void RDecodeSource::GetFormat(TkwWaveFormat& format) {
  format = TkwWaveFormat{};
  tkwDecodeGetFormat(handle_, &format);
}

std::int32_t RDecodeSource::Read(std::int16_t* dest, std::uint32_t frames, std::uint32_t* copied) {
  return tkwDecodeRead(handle_, dest, frames, copied);
}

bool RDecodeSource::LengthIsBacked() {
  const TkwDecoder& decoder = handle_->Decoder();
  return TkwChunksCanFillLength(decoder.Header(), decoder.Table());
}
