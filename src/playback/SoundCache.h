// The sounds a player or mixer has decoded into memory ahead of time, keyed
// by sound number. Host threads load and release; the worker threads only
// read samples through the records they were given.
#pragma once

#include "playback/CachedSound.h"
#include "playback/SoundIndex.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class SoundCache {
public:
  static constexpr std::uint32_t kBuckets = 1049;

  enum class Owner { Player, Mixer };

  explicit SoundCache(Owner owner);

  // Decodes the number into the cache. A player refuses a number already
  // cached; a mixer replaces it. Throws PC_BadIndex (player) or PM_BadIndex
  // (mixer) when the index lacks the number or the number may not be loaded.
  void Load(SoundIndex& index, std::uint32_t number, std::uint32_t flags);
  // Throws as Load when the number is not cached.
  void Release(std::uint32_t number);
  // Releases everything, in bucket order (a player logs each release).
  void ReleaseAll();

  std::optional<CachedSound> Find(std::uint32_t number) const;
  std::size_t Count() const;

  static std::uint32_t Bucket(std::uint32_t number);

private:
  struct Entry {
    std::uint32_t number;
    CachedSound sound;
  };

  [[noreturn]] void Fail() const;
  Entry* Lookup(std::uint32_t number);
  void LogRelease(std::uint32_t number) const;

  Owner owner_;
  std::vector<std::vector<Entry>> buckets_;
};
