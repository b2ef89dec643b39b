// Reads a cached sound from memory.
#pragma once

#include "playback/CachedSound.h"
#include "playback/RSoundSource.h"

class RMemorySource : public RSoundSource {
public:
  RMemorySource(const CachedSound& sound, bool looping);

  std::uint32_t GetLength() override { return sound_.frames; }
  void GetFormat(TkwWaveFormat& format) override { format = sound_.format; }
  std::int32_t Read(std::int16_t* dest, std::uint32_t frames, std::uint32_t* copied) override;

private:
  // Copies count frames from position_ on and advances it.
  void Copy(std::int16_t*& dest, std::uint32_t count);

  CachedSound sound_;
  std::uint32_t position_ = 0;
};
