// Running sums and sums of squares of the working signal over windows of each
// usable block length, so that the sums of any block or source stretch are
// one lookup. Both are exact integers (the squares below 2^53 in a double).
// Each length keeps its own valid position, so a search brings up to date
// only the length it reads.
#pragma once

#include "encoder/ChunkWorkspace.h"
#include "encoder/WorkingSignal.h"

#include <cstdint>
#include <memory>
#include <vector>

class WindowSums {
public:
  // Works in the workspace's tables, which must outlive it; owns its tables
  // when there is none.
  WindowSums(const WorkingSignal& signal, const std::vector<int>& lengths, ChunkWorkspace* workspace = nullptr);

  // Brings every length's sums up to date for positions below `end`.
  void EnsureUpTo(int end);
  // The same for one length only.
  void EnsureLength(int length, int end);
  // The samples from `position` on are about to change.
  void Invalidate(int position);

  // Rows indexed by position: the sum and the sum of squares of the `length`
  // samples ending at that position.
  struct Rows {
    const std::int32_t* sum;
    const double* squares;
  };
  Rows RowsFor(int length) const;

private:
  struct Entry {
    WindowTable* table;
    int valid;
  };
  void Bring(Entry& entry, int end);
  Entry& Find(int length);

  const WorkingSignal& signal_;
  std::unique_ptr<ChunkWorkspace> owned_;
  std::vector<Entry> entries_;
};
