// A group of numbered sounds that a sound index holds: an archive or a list
// file. Its address is the id the host gets back.
#pragma once

#include "decoder/TkwMessageSink.h"

#include <cstdint>
#include <memory>
#include <vector>

struct TkwDecodeHandle;

class TkrSoundSet {
public:
  virtual ~TkrSoundSet() = default;

  // A new decode handle on sound `index` (a position in Numbers()), or null
  // when the sound cannot be opened any more; the handle tells `sink` what
  // goes wrong later.
  virtual std::unique_ptr<TkwDecodeHandle> OpenSound(std::size_t index, std::uint32_t flags,
                                                     const TkwMessageSink& sink) const = 0;

  // The sound numbers, in the set's own order.
  const std::vector<std::uint32_t>& Numbers() const { return numbers_; }

protected:
  std::vector<std::uint32_t> numbers_;
};
