#include "encoder/WorkingSignal.h"

#include <algorithm>

WorkingSignal::WorkingSignal(const std::int16_t* samples, int count)
    : count_(count), samples_(static_cast<std::size_t>(count) + kHistory + kTail, 0) {
  std::copy(samples, samples + count, samples_.begin() + kHistory);
}
