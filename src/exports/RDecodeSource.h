// Streams a sound through a decode handle, which it owns.
#pragma once

#include "playback/RSoundSource.h"

class RDecodeSource : public RSoundSource {
public:
  // Takes the handle; the loop flag is the flags' 0x4000 bit, which the handle
  // was opened with and acts on.
  RDecodeSource(TkwDecodeHandle* handle, std::uint32_t soundNumber, std::uint32_t flags);
  ~RDecodeSource() override;
  RDecodeSource(const RDecodeSource&) = delete;
  RDecodeSource& operator=(const RDecodeSource&) = delete;

  std::uint32_t GetLength() override;
  void GetFormat(TkwWaveFormat& format) override;
  std::int32_t Read(std::int16_t* dest, std::uint32_t frames, std::uint32_t* copied) override;
  bool LengthIsBacked() override;

private:
  TkwDecodeHandle* handle_;
};
