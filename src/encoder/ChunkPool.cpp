#include "encoder/ChunkPool.h"

ChunkPool::ChunkPool(int threads) {
  for (int i = 0; i < threads; ++i)
    workers_.emplace_back([this] { Work(); });
}

ChunkPool::~ChunkPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  wake_.notify_all();
  for (std::thread& worker : workers_)
    worker.join();
}

void ChunkPool::Submit(Job job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void ChunkPool::Work() {
  ChunkWorkspace workspace;
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return closing_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job(workspace);
  }
}
