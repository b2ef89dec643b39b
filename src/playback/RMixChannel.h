// One voice of a mixer: the sound it plays, the sounds queued behind it and a
// volume of its own. The mixer's lock guards everything here but the volume.
#pragma once

#include "platform/Sync.h"
#include "playback/MixChannelContext.h"
#include "playback/RSoundSource.h"
#include "tkwDec32.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class RMixChannel {
public:
  // Condition values.
  static constexpr std::int32_t kPlaying = 0;
  static constexpr std::int32_t kIdle = 1;
  static constexpr std::int32_t kQueued = 3;
  // Unity gain, in 1/256 steps.
  static constexpr std::int32_t kUnityVolume = 256;

  explicit RMixChannel(MixChannelContext& context);
  ~RMixChannel();
  RMixChannel(const RMixChannel&) = delete;
  RMixChannel& operator=(const RMixChannel&) = delete;

  std::int32_t Condition() const;
  // Replace whatever plays or waits with the number (looping it until reset
  // when asked). Throws PC_BadIndex or PC_DeviceNotSupport before anything
  // changes.
  void Start(std::uint32_t number, bool loop);
  // Queue the number behind the queued sounds, only while one is still queued.
  void Chain(std::uint32_t number);
  void Reset();
  void SetVolume(std::int32_t volume) { volume_.store(volume, std::memory_order_relaxed); }
  std::int32_t Volume() const { return volume_.load(std::memory_order_relaxed); }
  plat::Event& DoneSignal() { return doneSignal_; }
  MixChannelContext& Context() { return context_; }

  // Mix thread, under the mixer's lock: render the next block of samples
  // samples in the mixer's layout, or nothing when the channel is dry.
  void FillBlock(std::uint32_t samples);
  bool HasBlock() const { return hasBlock_; }
  const std::vector<std::int16_t>& Block() const { return block_; }

private:
  std::unique_ptr<RSoundSource> MakeSource(std::uint32_t number, bool loop);
  void TakeNext();
  void ReadConverted(std::int16_t* dest, std::uint32_t frames);

  MixChannelContext& context_;
  std::deque<std::unique_ptr<RSoundSource>> pending_;
  std::atomic<std::int32_t> volume_{kUnityVolume};
  std::atomic<std::uint32_t> endTick_{0};
  std::vector<std::int16_t> block_;
  std::vector<std::int16_t> scratch_;
  bool hasBlock_ = false;
  std::atomic<std::int32_t> state_{kIdle};
  plat::Event doneSignal_;
  std::unique_ptr<RSoundSource> current_;
  TkwWaveFormat format_{};
};
