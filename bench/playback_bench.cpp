// Figures for playback: what mixing streamed sounds costs per channel, as a
// share of one core for real-time output, and how long a player takes from a
// start request to its first buffer on the device.
//
// Run: playback_bench [longest seconds of mixing per figure, default 3]
#include "audio/WaveOutDriver.h"
#include "testutil/TkwTestWriter.h"
#include "testutil/VirtualWaveOut.h"
#include "tkwDec32.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kLength = 10 * kRate; // ten seconds: four sectors
constexpr double kMaxAudioSeconds = 120;

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// An index of count version-2 stereo sounds at 44.1 kHz, numbered from 1.
TkrDecodeHandle* MakeIndex(const fs::path& dir, int count) {
  TkrDecodeHandle* index = nullptr;
  tkrDecodeOpenNaked(&index);
  testutil::TkwCodecParams codec;
  codec.version = 2;
  codec.offsetBits = 10;
  for (int i = 1; i <= count; ++i) {
    const fs::path path = dir / ("sound" + std::to_string(i) + ".tkw");
    if (!fs::exists(path)) WriteFile(path, testutil::MakeRandomTkwSound(1000 + i, codec, 2, kLength, kRate).bytes);
    tkrDecodeAddTkw(index, path.string().c_str(), static_cast<std::uint32_t>(i));
  }
  return index;
}

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

struct MixFigure {
  double cpuSeconds;
  double audioSeconds;
};

MixFigure MeasureMixer(TkrDecodeHandle* index, int channels, double seconds, const fs::path& wav) {
  fs::remove(wav);
  auto driver = audio::makeWaveOutDriver("record:" + wav.string() + ":fast");
  audio::setWaveOutDriverOverride(driver.get());
  const double cpuStart = CpuSeconds();
  TkrMixHandle* mixer = nullptr;
  if (tkrMixOpen(&mixer, index, kRate) != TKW_OK) {
    std::fprintf(stderr, "mixer did not open\n");
    std::exit(1);
  }
  for (int i = 0; i < channels; ++i) {
    TkrChannelHandle* channel = nullptr;
    tkrMixChannelOpen(mixer, &channel);
    tkrChannelSetVolume(channel, 64);
    tkrChannelLoop(channel, static_cast<std::uint32_t>(i + 1));
  }
  // Enough audio for a steady figure, without filling the disk with it.
  const auto until = Clock::now() + std::chrono::duration<double>(seconds);
  const std::uintmax_t enough = static_cast<std::uintmax_t>(kMaxAudioSeconds * kRate * 4);
  while (Clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::error_code error;
    if (fs::file_size(wav, error) >= enough) break;
  }
  tkrMixClose2(mixer);
  const double cpu = CpuSeconds() - cpuStart;
  driver.reset(); // completes the file's header
  audio::setWaveOutDriverOverride(nullptr);
  const double bytes = static_cast<double>(fs::file_size(wav)) - 44;
  return MixFigure{cpu, bytes / (kRate * 4.0)};
}

void MixerFigures(const fs::path& dir, double seconds) {
  std::printf("== mixer: streamed version-2 sounds, 44.1 kHz stereo, recording device faster than real time\n");
  std::printf("%8s %12s %12s %16s %14s\n", "channels", "cpu s", "audio s", "% of one core", "% per channel");
  TkrDecodeHandle* index = MakeIndex(dir, 32);
  double base = 0;
  for (int channels : {0, 1, 8, 32}) {
    const MixFigure f = MeasureMixer(index, channels, seconds, dir / "mix.wav");
    const double share = 100.0 * f.cpuSeconds / f.audioSeconds;
    if (channels == 0) base = share;
    const double perChannel = channels ? (share - base) / channels : 0.0;
    std::printf("%8d %12.2f %12.1f %16.2f %14.3f\n", channels, f.cpuSeconds, f.audioSeconds, share, perChannel);
  }
  tkrDecodeClose(index);
}

void PlayerFigures(const fs::path& dir) {
  std::printf("== player: from tkrPlayStart to the first two-second buffer on the device (44.1 kHz stereo)\n");
  TkrDecodeHandle* index = MakeIndex(dir, 1);
  testutil::VirtualWaveOut device;
  TkrPlayHandle* player = nullptr;
  tkrPlayOpen(&player, index);
  for (const bool cached : {false, true}) {
    if (cached) tkrPlayLoad(player, 1, 0);
    std::vector<double> ms;
    for (int run = 0; run < 15; ++run) {
      const auto start = Clock::now();
      tkrPlayStart(player, 1, nullptr);
      device.waitForQueued(1);
      ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      tkrPlayReset(player);
      device.waitFor([](const auto& sessions) { return !sessions.empty() && !sessions.back().open; });
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-9s median %7.2f ms   best %7.2f ms   worst %7.2f ms\n", cached ? "cached" : "streamed",
                ms[ms.size() / 2], ms.front(), ms.back());
  }
  tkrPlayClose(player);
}

} // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
  const fs::path dir = fs::temp_directory_path() / "tkw-playback-bench";
  fs::create_directories(dir);
  PlayerFigures(dir);
  MixerFigures(dir, seconds > 0 ? seconds : 3.0);
  fs::remove_all(dir);
  return 0;
}
