// Plays many sounds at once through one device held open in a fixed format:
// a mix thread asks every channel for a short block, scales each by its
// volume, sums and clips, and keeps a few blocks queued on the device.
#pragma once

#include "platform/Sync.h"
#include "playback/MixChannelContext.h"
#include "playback/RMixChannel.h"
#include "playback/RWaveOut.h"
#include "playback/SoundIndex.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <thread>
#include <vector>

class RMixer : public std::enable_shared_from_this<RMixer> {
public:
  // Bit of the open format word that asks for one output channel.
  static constexpr std::uint32_t kMonoFlag = 0x1000000;
  static constexpr std::uint32_t kDefaultRate = 22050;
  // How long Shutdown waits for the mix thread.
  static constexpr std::uint32_t kThreadWaitMs = 3000;

  // Creates the mixer and its waiting mix thread. Use Shutdown, not the last
  // reference, to end it.
  static std::shared_ptr<RMixer> Create(std::unique_ptr<SoundIndex> index);
  ~RMixer();

  // Opens the device in the format the word gives and starts mixing. Throws
  // PM_WaveDeviceAllocated or PM_DeviceNotSupport.
  void Open(std::uint32_t formatWord);
  // Silences every channel and hands back every queued block.
  void Reset();
  // Stops the mix thread and destroys the channels. Memory the thread may
  // still use stays alive until it has ended.
  void Shutdown();

  void Load(std::uint32_t number) { context_.cache.Load(*context_.index, number, 0); }
  void Release(std::uint32_t number) { context_.cache.Release(number); }

  RMixChannel* OpenChannel();
  void CloseChannel(RMixChannel* channel);

  const TkwWaveFormat& OutFormat() const { return context_.outFormat; }
  std::uint32_t FramesPerBlock() const { return framesPerBlock_; }

  // One mixed block of FramesPerBlock frames (exposed for measurements).
  std::vector<std::int16_t> MixBlock();

private:
  explicit RMixer(std::unique_ptr<SoundIndex> index);
  void Run();

  // Declared first: it outlives the channels, which refer to it.
  MixChannelContext context_;
  RWaveOut device_;
  std::list<std::unique_ptr<RMixChannel>> channels_; // under the context's lock
  std::uint32_t framesPerBlock_ = 0;
  std::uint32_t samplesPerBlock_ = 0;
  std::int32_t inFlight_ = 0; // mix thread only
  plat::Event startEvent_;
  plat::Event finished_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::vector<std::int64_t> sums_; // mix thread only, under the context's lock
};

// The volume arithmetic of one mix: each channel's samples scaled by its
// volume in 1/256 steps (shifted per sample and channel), summed, clipped.
void MixInto(std::vector<std::int64_t>& sums, const std::vector<std::int16_t>& block, std::int32_t volume);
std::int16_t ClipSample(std::int64_t sum);
