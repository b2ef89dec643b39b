// Worker threads that encode chunks. Each worker keeps its own workspace, so
// its memory is reused for every chunk it encodes, across files.
#pragma once

#include "encoder/ChunkWorkspace.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ChunkPool {
public:
  using Job = std::function<void(ChunkWorkspace&)>;

  explicit ChunkPool(int threads);
  ~ChunkPool();
  ChunkPool(const ChunkPool&) = delete;
  ChunkPool& operator=(const ChunkPool&) = delete;

  // Runs the job on the next free worker, in the order of submission. A job
  // must not throw.
  void Submit(Job job);
  int Threads() const { return static_cast<int>(workers_.size()); }

private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool closing_ = false;
  std::vector<std::thread> workers_;
};
