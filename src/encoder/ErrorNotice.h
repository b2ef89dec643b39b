// A squared error below zero can only come from rounding; it is reported
// once per file instead of once per block, since the message waits for the
// user. The chunks of a file may be encoded on several threads at once.
#pragma once

#include <atomic>

class ErrorNotice {
public:
  void NegativeError();
  void Reset() { shown_.store(false); }

private:
  std::atomic<bool> shown_{false};
};
