// What a mixer's channels need of it: the lock that guards them, where their
// sounds come from, the format they are mixed into, and the way out of the
// mix. The mixer owns it and keeps it alive as long as any of its channels.
#pragma once

#include "platform/Sync.h"
#include "playback/SoundCache.h"
#include "playback/SoundIndex.h"
#include "tkwDec32.h"

#include <functional>
#include <memory>
#include <utility>

class RMixChannel;

struct MixChannelContext {
  explicit MixChannelContext(std::unique_ptr<SoundIndex> soundIndex) : index(std::move(soundIndex)) {}
  MixChannelContext(const MixChannelContext&) = delete;
  MixChannelContext& operator=(const MixChannelContext&) = delete;

  // Guards the channel list, everything in a channel but its volume, and each
  // whole mix. Re-entrant: a mix takes it again around each channel's fill.
  plat::RecursiveMutex lock;
  std::unique_ptr<SoundIndex> index;
  // Sounds preloaded into the mixer; host threads only.
  SoundCache cache{SoundCache::Owner::Mixer};
  // Set when the mixer opens, before any channel plays.
  TkwWaveFormat outFormat{};
  // Takes the channel out of the mixer's list and destroys it.
  std::function<void(RMixChannel*)> closeChannel;
};
