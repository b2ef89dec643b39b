// Scoped lock over one of the library's re-entrant mutexes. A failed wait is
// reported and the guarded work goes ahead, as if the lock were held.
#pragma once

#include "platform/Sync.h"

#include <cstdio>

template <typename Mutex> class RSynchroOf {
public:
  explicit RSynchroOf(Mutex& mutex) : mutex_(mutex) {
    const int result = mutex_.lock();
    held_ = result == 0;
    if (!held_) std::printf("RSynchro : re=%d\n", result);
  }
  ~RSynchroOf() {
    if (held_) mutex_.unlock();
  }
  RSynchroOf(const RSynchroOf&) = delete;
  RSynchroOf& operator=(const RSynchroOf&) = delete;

private:
  Mutex& mutex_;
  bool held_;
};

using RSynchro = RSynchroOf<plat::RecursiveMutex>;
