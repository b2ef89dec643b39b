#include "playback/SoundCache.h"

#include "playback/LibrarySettings.h"
#include "support/Exceptions.h"

#include <algorithm>
#include <new>

namespace {

constexpr char kLoadedLine[] = "%d をメモリへロードしました。\n";
constexpr char kReleasedLine[] = "%d を解放しました。\n";

} // namespace

SoundCache::SoundCache(Owner owner) : owner_(owner), buckets_(kBuckets) {}

std::uint32_t SoundCache::Bucket(std::uint32_t number) {
  const std::uint32_t swapped = ((number >> 1) & 0x55555555u) | ((number & 0x55555555u) << 1);
  return swapped % kBuckets;
}

void SoundCache::Fail() const {
  if (owner_ == Owner::Player) throw PC_BadIndex();
  throw PM_BadIndex();
}

SoundCache::Entry* SoundCache::Lookup(std::uint32_t number) {
  std::vector<Entry>& bucket = buckets_[Bucket(number)];
  const auto found = std::find_if(bucket.begin(), bucket.end(), [&](const Entry& e) { return e.number == number; });
  return found == bucket.end() ? nullptr : &*found;
}

std::optional<CachedSound> SoundCache::Find(std::uint32_t number) const {
  const std::vector<Entry>& bucket = buckets_[Bucket(number)];
  for (const Entry& entry : bucket)
    if (entry.number == number) return entry.sound;
  return std::nullopt;
}

std::size_t SoundCache::Count() const {
  std::size_t count = 0;
  for (const auto& bucket : buckets_)
    count += bucket.size();
  return count;
}

void SoundCache::Load(SoundIndex& index, std::uint32_t number, std::uint32_t flags) {
  if (!index.Exists(number)) Fail();
  if (owner_ == Owner::Player && Lookup(number)) Fail();
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

  if (Entry* existing = Lookup(number))
    existing->sound = std::move(sound);
  else
    buckets_[Bucket(number)].push_back(Entry{number, std::move(sound)});
  if (owner_ == Owner::Player && settings::MakeLog()) settings::AppendLogLine(kLoadedLine, number);
}

void SoundCache::Release(std::uint32_t number) {
  std::vector<Entry>& bucket = buckets_[Bucket(number)];
  const auto found = std::find_if(bucket.begin(), bucket.end(), [&](const Entry& e) { return e.number == number; });
  if (found == bucket.end()) Fail();
  bucket.erase(found);
  LogRelease(number);
}

void SoundCache::ReleaseAll() {
  for (auto& bucket : buckets_) {
    for (const Entry& entry : bucket)
      LogRelease(entry.number);
    bucket.clear();
  }
}

void SoundCache::LogRelease(std::uint32_t number) const {
  if (owner_ == Owner::Player && settings::MakeLog()) settings::AppendLogLine(kReleasedLine, number);
}
