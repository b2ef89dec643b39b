// The memory one chunk's search works in: the working signal and the window
// sums of every block length. A worker keeps one and reuses it for all its
// chunks, so nothing is allocated per chunk once it has seen the first one.
//
// Reuse needs no clearing: positions before the chunk (the zero history) are
// never written, and every later position is written before it is read.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct WindowTable {
  int length = 0;
  std::vector<std::int32_t> sum;
  std::vector<double> squares; // exact integers below 2^53
};

class ChunkWorkspace {
public:
  // Room for the working signal of `count` samples, history and tail included.
  std::int16_t* Signal(std::size_t entries);
  // The table of one block length with at least `entries` positions.
  WindowTable& Table(int length, std::size_t entries);

private:
  std::vector<std::int16_t> signal_;
  std::vector<std::unique_ptr<WindowTable>> tables_;
};
