// A sound index for tests: .tkw files streamed through decode handles, and
// plain PCM served from memory, under numbers.
#pragma once

#include "playback/SoundIndex.h"
#include "tkwDec32.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testutil {

TkwWaveFormat Pcm16(std::uint16_t channels, std::uint32_t rate);

// frames x channels samples from gen(frame, channel).
std::vector<std::int16_t> MakePcm(std::uint32_t frames, int channels,
                                  const std::function<std::int16_t(std::uint32_t, int)>& gen);

class TestSoundIndex : public SoundIndex {
public:
  void AddFile(std::uint32_t number, const std::string& path);
  void AddPcm(std::uint32_t number, const TkwWaveFormat& format, std::vector<std::int16_t> pcm);

  bool Exists(std::uint32_t number) override;
  std::unique_ptr<RSoundSource> Open(std::uint32_t number, std::uint32_t flags) override;

  int Opens() const { return opens_; }

private:
  struct Entry {
    std::string path;
    TkwWaveFormat format{};
    std::vector<std::int16_t> pcm;
  };
  std::map<std::uint32_t, Entry> entries_;
  std::atomic<int> opens_{0};
};

// Lends an index that the test keeps to an owner that wants its own.
class SoundIndexRef : public SoundIndex {
public:
  explicit SoundIndexRef(SoundIndex& index) : index_(index) {}
  bool Exists(std::uint32_t number) override { return index_.Exists(number); }
  std::unique_ptr<RSoundSource> Open(std::uint32_t number, std::uint32_t flags) override {
    return index_.Open(number, flags);
  }

private:
  SoundIndex& index_;
};

} // namespace testutil
