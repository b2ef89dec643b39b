#include "testutil/MessageBoxCapture.h"

#include "platform/UserInterface.h"

namespace testutil {

MessageBoxCapture::MessageBoxCapture(int answer) {
  plat::setMessageBoxHook([this, answer](const char* text, const char* caption, unsigned) {
    std::lock_guard lock(mutex_);
    messages_.push_back({text, caption});
    return answer;
  });
}

MessageBoxCapture::~MessageBoxCapture() { plat::setMessageBoxHook(nullptr); }

std::vector<ShownMessage> MessageBoxCapture::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

} // namespace testutil
