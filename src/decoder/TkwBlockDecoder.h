// Decodes the blocks of one chunk (one channel of one sector).
#pragma once

#include <cstdint>
#include <memory>

class TkwBitReader;

class TkwBlockDecoder {
public:
  virtual ~TkwBlockDecoder() = default;

  // Appends whole blocks at `output` until at least `count` samples were
  // produced, and returns how many were (count … count + 511; 0 when count
  // is not positive). The 16384 samples before `output` must be readable:
  // the sector's earlier samples, then zeros. Room for count + 512 samples
  // must follow it. Continuing a chunk later with output advanced by the
  // samples produced gives the same samples as one call.
  virtual std::int32_t Decode(std::int16_t* output, TkwBitReader& reader, std::int32_t count) const = 0;
  virtual std::int32_t SectorLength() const = 0;
  virtual std::unique_ptr<TkwBlockDecoder> Clone() const = 0;
};
