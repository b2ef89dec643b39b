// The converter's queue: converts list files one after the other, in sorted
// order, on the caller's thread (Run) or on a worker of its own (Start). A
// stop request takes effect at the next safe point: between list files, or
// between the sounds of the archive being written (which is then dropped).
#pragma once

#include "converter/TkrListConverter.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class TkrQueueObserver {
public:
  virtual ~TkrQueueObserver() = default;
  virtual void OnListStarted(const std::string& /*listPath*/) {}
  // The entry leaves the queue.
  virtual void OnListFinished(const std::string& /*listPath*/, TkrListConverter::Result /*result*/) {}
  // Every entry was converted (not called after a stop).
  virtual void OnQueueDone() {}
};

class TkrConvertQueue {
public:
  TkrConvertQueue(std::vector<std::string> listPaths, std::string password, TkrQueueObserver* observer = nullptr);
  ~TkrConvertQueue(); // stops and joins a running worker
  TkrConvertQueue(const TkrConvertQueue&) = delete;
  TkrConvertQueue& operator=(const TkrConvertQueue&) = delete;

  void Run();
  void Start();
  void Wait();
  // Safe to call from another thread or a signal handler.
  void RequestStop() { stop_.store(true); }

  bool Done() const { return done_.load(); } // every entry was converted
  bool WasStopped() const { return stopped_.load(); }
  int Failures() const { return failures_.load(); }
  const std::vector<std::string>& Lists() const { return lists_; }

  // The order of a sorted list box: by text without regard to letter case.
  static void Sort(std::vector<std::string>& listPaths);

private:
  std::vector<std::string> lists_;
  TkrListConverter converter_;
  TkrQueueObserver* observer_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<bool> stopped_{false};
  std::atomic<int> failures_{0};
  std::thread worker_;
};
