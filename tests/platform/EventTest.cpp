#include "platform/Clock.h"
#include "platform/Sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(Event, ManualResetStaysSetUntilReset) {
  plat::Event event(true, false);
  EXPECT_FALSE(event.wait(0));
  event.set();
  EXPECT_TRUE(event.wait(0));
  EXPECT_TRUE(event.wait(0));
  event.reset();
  EXPECT_FALSE(event.wait(10));
}

TEST(Event, AutoResetReleasesOneWaitAndClears) {
  plat::Event event(false, true);
  EXPECT_TRUE(event.wait(0));
  EXPECT_FALSE(event.wait(0));
}

TEST(Event, PulseReleasesAWaitingThreadAndLeavesTheEventClear) {
  plat::Event event(false, false);
  std::atomic<bool> released{false};
  std::thread waiter([&] {
    event.wait(plat::kWaitForever);
    released = true;
  });
  // Pulse until the waiter has gone through: a pulse before it waits is lost.
  for (int i = 0; i < 5000 && !released; ++i) {
    event.pulse();
    plat::sleepMs(1);
  }
  waiter.join();
  EXPECT_TRUE(released);
  EXPECT_FALSE(event.wait(0)) << "a pulse leaves the event non-signalled";
}

TEST(Event, SetWakesAThreadBlockedInAWait) {
  plat::Event event(true, false);
  std::thread setter([&] {
    plat::sleepMs(20);
    event.set();
  });
  EXPECT_TRUE(event.wait(plat::kWaitForever));
  setter.join();
}

TEST(RecursiveMutex, TheOwnerMayLockAgain) {
  plat::RecursiveMutex mutex;
  EXPECT_EQ(mutex.lock(), 0);
  EXPECT_EQ(mutex.lock(), 0);
  mutex.unlock();
  mutex.unlock();
  std::thread other([&] {
    EXPECT_EQ(mutex.lock(), 0);
    mutex.unlock();
  });
  other.join();
}

TEST(Clock, TickCountAdvances) {
  const std::uint32_t start = plat::tickCount();
  plat::sleepMs(100);
  // The Windows tick moves in steps of about 16 ms.
  EXPECT_GE(static_cast<std::uint32_t>(plat::tickCount() - start), 50u);
}

} // namespace
