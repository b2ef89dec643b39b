// The encoder's copy of one chunk, which it overwrites with exactly what the
// decoder will produce: 16384 zero samples of history, the chunk, and 1280
// zero samples for blocks that run past the end. Positions count from the
// chunk's first sample.
#pragma once

#include <cstdint>
#include <vector>

class WorkingSignal {
public:
  static constexpr int kHistory = 16384;
  static constexpr int kTail = 1280;

  WorkingSignal(const std::int16_t* samples, int count);

  std::int16_t& operator[](int position) { return samples_[position + kHistory]; }
  std::int16_t operator[](int position) const { return samples_[position + kHistory]; }
  const std::int16_t* At(int position) const { return samples_.data() + position + kHistory; }
  int Count() const { return count_; }

private:
  int count_;
  std::vector<std::int16_t> samples_;
};
