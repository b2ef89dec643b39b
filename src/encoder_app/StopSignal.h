// The request to stop an encode, set by the thread that shows the progress
// (a button, Ctrl-C) and tested by the engine before every block.
#pragma once

#include <atomic>

class StopSignal {
public:
  void Request() { requested_.store(true); }
  void Clear() { requested_.store(false); }
  bool Requested() const { return requested_.load(); }

private:
  std::atomic<bool> requested_{false};
};
