#include "platform/Sync.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace plat {

struct Event::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool manualReset = false;
  bool signalled = false;
  int waiters = 0;
  std::uint64_t pulseGeneration = 0;
  int pulseReleases = 0;
};

Event::Event(bool manualReset, bool initiallySet) : state_(std::make_unique<State>()) {
  state_->manualReset = manualReset;
  state_->signalled = initiallySet;
}

Event::~Event() = default;

void Event::set() {
  std::lock_guard lock(state_->mutex);
  state_->signalled = true;
  if (state_->manualReset)
    state_->changed.notify_all();
  else
    state_->changed.notify_one();
}

void Event::reset() {
  std::lock_guard lock(state_->mutex);
  state_->signalled = false;
}

void Event::pulse() {
  std::lock_guard lock(state_->mutex);
  if (state_->waiters > 0) {
    state_->pulseReleases = state_->manualReset ? state_->waiters : 1;
    ++state_->pulseGeneration;
    state_->changed.notify_all();
  }
  state_->signalled = false;
}

bool Event::wait(std::uint32_t timeoutMs) {
  std::unique_lock lock(state_->mutex);
  const std::uint64_t generation = state_->pulseGeneration;
  bool pulsed = false;
  const auto ready = [&] {
    if (state_->signalled) return true;
    if (state_->pulseGeneration != generation && state_->pulseReleases > 0) {
      --state_->pulseReleases;
      pulsed = true;
      return true;
    }
    return false;
  };
  ++state_->waiters;
  bool woken;
  if (timeoutMs == kWaitForever) {
    state_->changed.wait(lock, ready);
    woken = true;
  } else {
    woken = state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  }
  --state_->waiters;
  if (woken && !pulsed && !state_->manualReset) state_->signalled = false;
  return woken;
}

void* Event::nativeHandle() const { return nullptr; }

struct RecursiveMutex::State {
  std::recursive_mutex mutex;
};

RecursiveMutex::RecursiveMutex() : state_(std::make_unique<State>()) {}
RecursiveMutex::~RecursiveMutex() = default;

int RecursiveMutex::lock() {
  state_->mutex.lock();
  return 0;
}

void RecursiveMutex::unlock() { state_->mutex.unlock(); }

} // namespace plat
