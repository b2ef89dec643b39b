// Collects the message boxes shown while it lives, instead of showing them.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace testutil {

struct ShownMessage {
  std::string text;
  std::string caption;
};

class MessageBoxCapture {
public:
  explicit MessageBoxCapture(int answer = 1);
  ~MessageBoxCapture();

  std::vector<ShownMessage> messages() const;

private:
  mutable std::mutex mutex_;
  std::vector<ShownMessage> messages_;
};

} // namespace testutil
