#include "playback/SoundCache.h"

#include "playback/LibrarySettings.h"
#include "support/Exceptions.h"

#include <new>

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
  std::vector<std::int16_t> samples;
  try {
    samples.resize(static_cast<std::size_t>(sound.frames) * static_cast<std::size_t>(sound.channelCount));
  } catch (const std::bad_alloc&) {
    Fail();
  } catch (const std::length_error&) {
    Fail();
  }
  source->Read(samples.data(), sound.frames, nullptr);
  sound.samples = std::make_shared<const std::vector<std::int16_t>>(std::move(samples));

  // A mixer's second load replaces the first; a sound playing from it keeps
  // its own share of the old samples.
  map_.SetAt(number, std::move(sound));
  if (owner_ == Owner::Player && settings::MakeLog()) settings::AppendLogLine(kLoadedLine, number);
}

void SoundCache::Release(std::uint32_t number) {
  if (!map_.RemoveKey(number)) Fail();
  LogRelease(number);
}

void SoundCache::ReleaseAll() {
  map_.ForEach([&](std::uint32_t number, const CachedSound&) { LogRelease(number); });
  map_.RemoveAll();
}

void SoundCache::LogRelease(std::uint32_t number) const {
  if (owner_ == Owner::Player && settings::MakeLog()) settings::AppendLogLine(kReleasedLine, number);
}
