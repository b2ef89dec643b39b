#include "playback/SoundCache.h"

#include "playback/LibrarySettings.h"
#include "support/Exceptions.h"

#include <memory>
#include <new>
#include <stdexcept>

namespace {

constexpr char kLoadedLine[] = "%d をメモリへロードしました。\n";
constexpr char kReleasedLine[] = "%d を解放しました。\n";

} // namespace

SoundCache::SoundCache(Owner owner) : owner_(owner) {}

void SoundCache::Fail() const {
  if (owner_ == Owner::Player) throw PC_BadIndex();
  throw PM_BadIndex();
}

std::optional<CachedSound> SoundCache::Find(std::uint32_t number) const {
  if (const CachedSound* sound = map_.Find(number)) return *sound;
  return std::nullopt;
}

namespace {

std::uint64_t SampleBytes(const CachedSound& sound) {
  return std::uint64_t{sound.frames} * static_cast<std::uint64_t>(sound.channelCount) * sizeof(std::int16_t);
}

} // namespace

void SoundCache::Load(SoundIndex& index, std::uint32_t number, std::uint32_t flags) {
  if (!index.Exists(number)) Fail();
  if (owner_ == Owner::Player && map_.Contains(number)) Fail();
  // The mixer plays every cached sound once or loops it itself.
  std::unique_ptr<RSoundSource> source = index.Open(number, owner_ == Owner::Player ? flags : 0);
  if (!source) Fail();

  CachedSound sound;
  source->GetFormat(sound.format);
  sound.frames = source->GetLength();
  sound.channelCount = sound.format.channels;
  if (sound.channelCount < 1 || sound.channelCount > 2) Fail();
  // The memory is sized by the file's word: only a length its data can fill,
  // and only within the cache's limit (a sound it replaces makes room).
  if (!source->LengthIsBacked()) Fail();
  const CachedSound* replaced = map_.Find(number);
  const std::uint64_t held = bytes_ - (replaced ? SampleBytes(*replaced) : 0);
  if (held + SampleBytes(sound) > settings::CacheLimitBytes()) Fail();
  try {
    auto samples = std::make_shared<std::vector<std::int16_t>>(static_cast<std::size_t>(sound.frames) *
                                                               static_cast<std::size_t>(sound.channelCount));
    // A sound that could not be read is not cached as silence.
    const std::int32_t status = source->Read(samples->data(), sound.frames, nullptr);
    if (status != 0 && status != RSoundSource::kEnd) Fail();
    sound.samples = std::move(samples);
    // A mixer's second load replaces the first; a sound playing from it keeps
    // its own share of the old samples.
    map_.SetAt(number, sound);
  } catch (const std::bad_alloc&) {
    Fail();
  } catch (const std::length_error&) {
    Fail();
  }
  bytes_ = held + SampleBytes(sound);
  if (owner_ == Owner::Player && settings::MakeLog()) settings::AppendLogLine(kLoadedLine, number);
}

void SoundCache::Release(std::uint32_t number) {
  const CachedSound* sound = map_.Find(number);
  if (!sound) Fail();
  bytes_ -= SampleBytes(*sound);
  map_.RemoveKey(number);
  LogRelease(number);
}

void SoundCache::ReleaseAll() {
  map_.ForEach([&](std::uint32_t number, const CachedSound&) { LogRelease(number); });
  map_.RemoveAll();
  bytes_ = 0;
}

void SoundCache::LogRelease(std::uint32_t number) const {
  if (owner_ == Owner::Player && settings::MakeLog()) settings::AppendLogLine(kReleasedLine, number);
}
