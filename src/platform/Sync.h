// Events and the re-entrant mutex of the playback and application threads.
#pragma once

#include <cstdint>
#include <memory>

namespace plat {

inline constexpr std::uint32_t kWaitForever = 0xFFFFFFFFu;

// A Win32-style event: manual reset stays set until reset; auto reset releases
// one waiter and clears itself. Pulse releases the threads waiting at that moment.
class Event {
public:
  Event(bool manualReset, bool initiallySet);
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void set();
  void reset();
  void pulse();
  // True when signalled, false on timeout.
  bool wait(std::uint32_t timeoutMs);
  // The OS object where one exists (Windows event handle), else null.
  void* nativeHandle() const;

  struct State;

private:
  std::unique_ptr<State> state_;
};

// Re-entrant for the owning thread. lock() returns 0 on success, else the
// platform's wait result.
class RecursiveMutex {
public:
  RecursiveMutex();
  ~RecursiveMutex();
  RecursiveMutex(const RecursiveMutex&) = delete;
  RecursiveMutex& operator=(const RecursiveMutex&) = delete;

  int lock();
  void unlock();

  struct State;

private:
  std::unique_ptr<State> state_;
};

} // namespace plat
