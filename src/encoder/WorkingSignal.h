// The encoder's copy of one chunk, which it overwrites with exactly what the
// decoder will produce: 16384 zero samples of history, the chunk, and 1280
// zero samples for blocks that run past the end. Positions count from the
// chunk's first sample.
#pragma once

#include "format/TkwFormat.h"

#include <cstdint>
#include <vector>

class ChunkWorkspace;

class WorkingSignal {
public:
  static constexpr int kHistory = tkw::kHistoryLength;
  static constexpr int kTail = 1280;

  // Works in the workspace's memory, which must outlive it; owns its samples
  // when there is none.
  WorkingSignal(const std::int16_t* samples, int count, ChunkWorkspace* workspace = nullptr);
  WorkingSignal(const WorkingSignal&) = delete;
  WorkingSignal& operator=(const WorkingSignal&) = delete;

  std::int16_t& operator[](int position) { return origin_[position]; }
  std::int16_t operator[](int position) const { return origin_[position]; }
  const std::int16_t* At(int position) const { return origin_ + position; }
  int Count() const { return count_; }
  static std::size_t Entries(int count) { return static_cast<std::size_t>(count) + kHistory + kTail; }

private:
  void Fill(const std::int16_t* samples);

  int count_;
  std::vector<std::int16_t> owned_;
  std::int16_t* origin_; // position 0
};
