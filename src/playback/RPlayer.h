// Plays the sounds of one sound index one after another through a device of
// its own, each sound in its own format, streamed in two-second buffers from
// a play thread.
#pragma once

#include "platform/Sync.h"
#include "playback/RSoundSource.h"
#include "playback/RWaveOut.h"
#include "playback/SoundCache.h"
#include "playback/SoundIndex.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <thread>

class RPlayer {
public:
  // Condition values.
  static constexpr std::int32_t kStreaming = 0;
  static constexpr std::int32_t kIdle = 1;
  static constexpr std::int32_t kNoDevice = 2;
  static constexpr std::int32_t kStarting = 3;

  struct Position {
    std::uint32_t lengthMs;
    std::uint32_t elapsedMs;
  };

  explicit RPlayer(SoundIndex& index);
  ~RPlayer();
  RPlayer(const RPlayer&) = delete;
  RPlayer& operator=(const RPlayer&) = delete;

  // Play the number now, cutting off whatever plays or waits; loop repeats it
  // until stopped. Throws PC_BadIndex, PC_DeviceNotSupport or
  // PC_WaveDeviceAllocated before anything is stopped or queued.
  void Start(std::uint32_t number, bool loop);
  // Play the number after the sounds already waiting.
  void Chain(std::uint32_t number);
  // Stop playback and discard the waiting sounds.
  void StopPlayback();

  std::int32_t Condition();
  Position GetPosition() const;
  // Set when an idle player is woken; reset when a sound ends.
  plat::Event& WakeEvent() { return wakeEvent_; }

  void Load(std::uint32_t number, std::uint32_t flags) { cache_.Load(index_, number, flags); }
  void Release(std::uint32_t number) { cache_.Release(number); }

private:
  std::unique_ptr<RSoundSource> MakeSource(std::uint32_t number, bool loop);
  void Enqueue(std::unique_ptr<RSoundSource> source, bool replace);
  void StopLocked();
  void Run();
  void PlayOne(RSoundSource& source);
  void FillBuffer(RSoundSource& source, std::uint32_t framesPerBuffer, std::uint32_t channels);

  SoundIndex& index_;
  RWaveOut device_;
  std::deque<std::unique_ptr<RSoundSource>> pending_;
  plat::RecursiveMutex lock_;
  std::atomic<std::uint32_t> startTick_{0};
  std::atomic<std::uint32_t> lengthMs_{0};
  bool moreData_ = true; // guarded by lock_
  std::atomic<bool> quit_{false};
  std::atomic<std::int32_t> state_{kIdle};
  std::int32_t inFlight_ = 0; // play thread only
  plat::Event wakeEvent_;
  plat::Event started_;
  SoundCache cache_;
  std::thread thread_;
};
