// What the player and mixer tests share: sounds under numbers (.tkw files and
// plain PCM), the virtual device, and a clock that keeps it playing.
#pragma once

#include "TestSoundIndex.h"
#include "testutil/TempDir.h"
#include "testutil/TkwTestWriter.h"
#include "testutil/VirtualWaveOut.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>

namespace testutil {

// Plays the virtual device in small steps from a thread of its own.
class DeviceClock {
public:
  DeviceClock(VirtualWaveOut& device, std::uint32_t framesPerStep) {
    thread_ = std::thread([this, &device, framesPerStep] {
      while (!stop_) {
        if (device.play(framesPerStep) == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
  }
  ~DeviceClock() {
    stop_ = true;
    thread_.join();
  }

private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class PlaybackTest : public ::testing::Test {
protected:
  PlaybackTest() : cwd_(dir_.path()) {}

  TkwTestSound AddTkw(std::uint32_t number, std::uint8_t channels, std::uint32_t length, std::uint32_t rate = 8000) {
    TkwCodecParams codec;
    TkwTestSound sound = MakeRandomTkwSound(number * 7919u + length, codec, channels, length, rate);
    const std::string path = dir_.file(std::to_string(number) + ".tkw");
    WriteBytes(path, sound.bytes);
    index_.AddFile(number, path);
    return sound;
  }

  static std::vector<std::int16_t> Repeat(const std::vector<std::int16_t>& pcm, std::size_t samples) {
    std::vector<std::int16_t> out;
    while (out.size() < samples)
      out.insert(out.end(), pcm.begin(), pcm.end());
    out.resize(samples);
    return out;
  }

  // Runs f on another thread; false when it has not returned within the
  // bound (a hang, not a measure of speed).
  template <typename F> static bool ReturnsWithin(F f, std::chrono::seconds bound = std::chrono::seconds(30)) {
    auto done = std::async(std::launch::async, f);
    const bool ready = done.wait_for(bound) == std::future_status::ready;
    if (!ready) std::terminate(); // a hang: stop here rather than leave the thread behind
    return ready;
  }

  TempDir dir_;
  ScopedCurrentDirectory cwd_;
  VirtualWaveOut device_;
  TestSoundIndex index_;
};

} // namespace testutil
