// A squared error below zero can only come from rounding; it is reported
// once per file instead of once per block, since the message waits for the
// user.
#pragma once

class ErrorNotice {
public:
  void NegativeError();
  void Reset() { shown_ = false; }

private:
  bool shown_ = false;
};
