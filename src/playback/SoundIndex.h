// Where players and mixers find their sounds by number: a sound index handle
// in the library, a small table of sounds in tests.
#pragma once

#include "playback/RSoundSource.h"

#include <cstdint>
#include <memory>

class SoundIndex {
public:
  virtual ~SoundIndex() = default;
  virtual bool Exists(std::uint32_t number) = 0;
  // A source for the number read with the decode open flags given (0x4000
  // loops); null when the index lacks the number or its sound no longer opens.
  virtual std::unique_ptr<RSoundSource> Open(std::uint32_t number, std::uint32_t flags) = 0;
};
