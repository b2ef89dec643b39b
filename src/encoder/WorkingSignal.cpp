#include "encoder/WorkingSignal.h"

#include "encoder/ChunkWorkspace.h"

#include <algorithm>

WorkingSignal::WorkingSignal(const std::int16_t* samples, int count, ChunkWorkspace* workspace) : count_(count) {
  if (workspace) {
    origin_ = workspace->Signal(Entries(count)) + kHistory;
  } else {
    owned_.assign(Entries(count), 0);
    origin_ = owned_.data() + kHistory;
  }
  Fill(samples);
}

void WorkingSignal::Fill(const std::int16_t* samples) {
  // The history stays zero (nothing writes before position 0); the tail is
  // written by blocks that run past the end, so it is cleared every time.
  std::copy(samples, samples + count_, origin_);
  std::fill(origin_ + count_, origin_ + count_ + kTail, std::int16_t{0});
}
