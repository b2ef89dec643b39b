// Running sums and sums of squares of the working signal over windows of each
// usable block length, so that the sums of any block or source stretch are
// one lookup. Both are exact integers (below 2^53), kept in integer types.
#pragma once

#include "encoder/WorkingSignal.h"

#include <cstdint>
#include <vector>

class WindowSums {
public:
  WindowSums(const WorkingSignal& signal, const std::vector<int>& lengths);

  // Brings every length's sums up to date for positions below `end`.
  void EnsureUpTo(int end);
  // The samples from `position` on are about to change.
  void Invalidate(int position);

  // Rows indexed by position: the sum and the sum of squares of the `length`
  // samples ending at that position.
  struct Rows {
    const std::int32_t* sum;
    const std::int64_t* squares;
  };
  Rows RowsFor(int length) const;

private:
  struct Table {
    int length;
    std::vector<std::int32_t> sum;
    std::vector<std::int64_t> squares;
  };

  const WorkingSignal& signal_;
  std::vector<Table> tables_;
  int valid_ = 0;
};
