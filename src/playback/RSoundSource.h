// A sound as the player and the mixer channels see it: a length, a format and
// consecutive frames of interleaved 16-bit PCM.
#pragma once

#include "tkwDec32.h"

#include <cstdint>

class RSoundSource {
public:
  // What Read returns once the end of the sound has been reached.
  static constexpr std::int32_t kEnd = 13;

  virtual ~RSoundSource() = default;
  // Length in frames.
  virtual std::uint32_t GetLength() = 0;
  virtual void GetFormat(TkwWaveFormat& format) = 0;
  // Fills frames frames of dest; frames past the end of a sound that does not
  // loop are zero. copied (may be null) receives the frames that came from
  // the sound. 0 while the sound goes on, non-zero once it has ended.
  virtual std::int32_t Read(std::int16_t* dest, std::uint32_t frames, std::uint32_t* copied) = 0;
  // False when the sound's data cannot deliver its length: a damaged or
  // hostile file that declares more frames than its bytes can decode to.
  // Nothing is decoded into memory on such a length.
  virtual bool LengthIsBacked() { return true; }

  bool loop = false;
  std::uint32_t number = 0;
};
