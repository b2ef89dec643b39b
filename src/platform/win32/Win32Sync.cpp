#include "platform/Sync.h"

#include <windows.h>

namespace plat {

struct Event::State {
  HANDLE handle = nullptr;
};

Event::Event(bool manualReset, bool initiallySet) : state_(std::make_unique<State>()) {
  state_->handle = CreateEventA(nullptr, manualReset, initiallySet, nullptr);
}

Event::~Event() {
  if (state_->handle) CloseHandle(state_->handle);
}

void Event::set() { SetEvent(state_->handle); }
void Event::reset() { ResetEvent(state_->handle); }
void Event::pulse() { PulseEvent(state_->handle); }

bool Event::wait(std::uint32_t timeoutMs) {
  return WaitForSingleObject(state_->handle, timeoutMs == kWaitForever ? INFINITE : timeoutMs) == WAIT_OBJECT_0;
}

void* Event::nativeHandle() const { return state_->handle; }

struct RecursiveMutex::State {
  HANDLE handle = nullptr;
};

RecursiveMutex::RecursiveMutex() : state_(std::make_unique<State>()) {
  state_->handle = CreateMutexA(nullptr, FALSE, nullptr);
}

RecursiveMutex::~RecursiveMutex() {
  if (state_->handle) CloseHandle(state_->handle);
}

int RecursiveMutex::lock() {
  const DWORD result = WaitForSingleObject(state_->handle, INFINITE);
  return result == WAIT_OBJECT_0 ? 0 : static_cast<int>(result == WAIT_FAILED ? GetLastError() : result);
}

void RecursiveMutex::unlock() { ReleaseMutex(state_->handle); }

} // namespace plat
