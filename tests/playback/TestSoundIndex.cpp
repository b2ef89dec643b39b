#include "TestSoundIndex.h"

#include "exports/RDecodeSource.h"
#include "playback/RMemorySource.h"

namespace testutil {

TkwWaveFormat Pcm16(std::uint16_t channels, std::uint32_t rate) {
  TkwWaveFormat format{};
  format.formatTag = 1;
  format.channels = channels;
  format.samplesPerSec = rate;
  format.blockAlign = static_cast<std::uint16_t>(channels * 2);
  format.avgBytesPerSec = rate * format.blockAlign;
  format.bitsPerSample = 16;
  return format;
}

std::vector<std::int16_t> MakePcm(std::uint32_t frames, int channels,
                                  const std::function<std::int16_t(std::uint32_t, int)>& gen) {
  std::vector<std::int16_t> pcm;
  pcm.reserve(std::size_t{frames} * channels);
  for (std::uint32_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c)
      pcm.push_back(gen(f, c));
  return pcm;
}

void TestSoundIndex::AddFile(std::uint32_t number, const std::string& path) { entries_[number].path = path; }

void TestSoundIndex::AddPcm(std::uint32_t number, const TkwWaveFormat& format, std::vector<std::int16_t> pcm) {
  Entry& entry = entries_[number];
  entry.format = format;
  entry.pcm = std::move(pcm);
}

bool TestSoundIndex::Exists(std::uint32_t number) { return entries_.count(number) != 0; }

std::unique_ptr<RSoundSource> TestSoundIndex::Open(std::uint32_t number, std::uint32_t flags) {
  ++opens_;
  const auto found = entries_.find(number);
  if (found == entries_.end()) return nullptr;
  const Entry& entry = found->second;
  if (!entry.path.empty()) {
    TkwDecodeHandle* handle = nullptr;
    if (tkwDecodeOpen(&handle, entry.path.c_str(), flags) != TKW_OK) return nullptr;
    return std::make_unique<RDecodeSource>(handle, number, flags);
  }
  CachedSound sound;
  sound.format = entry.format;
  sound.channelCount = entry.format.channels;
  sound.frames = static_cast<std::uint32_t>(entry.pcm.size() / entry.format.channels);
  sound.samples = std::make_shared<const std::vector<std::int16_t>>(entry.pcm);
  return std::make_unique<RMemorySource>(sound, (flags & TKW_OPEN_LOOP) != 0);
}

} // namespace testutil
