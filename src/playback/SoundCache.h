// The sounds a player or mixer has decoded into memory ahead of time, keyed
// by sound number. Host threads load and release; the worker threads only
// read samples through the records they were given.
#pragma once

#include "decoder/RMap.h"
#include "playback/CachedSound.h"
#include "playback/SoundIndex.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class SoundCache {
public:
  enum class Owner { Player, Mixer };

  explicit SoundCache(Owner owner);

  // Decodes the number into the cache. A player refuses a number already
  // cached; a mixer replaces it. Throws PC_BadIndex (player) or PM_BadIndex
  // (mixer) when the index lacks the number or the number may not be loaded:
  // also when its file declares more frames than its data can decode to, when
  // the cache would grow past its limit (settings::CacheLimitBytes), when
  // the memory cannot be had, and when the sound cannot be read.
  void Load(SoundIndex& index, std::uint32_t number, std::uint32_t flags);
  // Throws as Load when the number is not cached.
  void Release(std::uint32_t number);
  // Releases everything, in bucket order (a player logs each release).
  void ReleaseAll();

  std::optional<CachedSound> Find(std::uint32_t number) const;
  std::size_t Count() const { return map_.GetCount(); }
  // Bytes of samples the cached sounds take.
  std::uint64_t Bytes() const { return bytes_; }

private:
  [[noreturn]] void Fail() const;
  void LogRelease(std::uint32_t number) const;

  Owner owner_;
  RMap<CachedSound> map_;
  std::uint64_t bytes_ = 0;
};
