// Decoding speed of codec versions 1 and 2, a sector at a time and on demand,
// on a synthetic stereo sound of four sectors (about 10 s at 44.1 kHz),
// encoded once by the project's own encoder. The counter x_realtime is the
// number of seconds of sound decoded per second: multiples of real time.
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTKW_BUILD_BENCH=ON -DTKW_BUILD_TESTS=OFF
//   cmake --build build/bench --target decoder_bench && build/bench/bench/decoder_bench
#include "encoder/EncodeDriver.h"
#include "format/TkwFormat.h"
#include "platform/Files.h"
#include "support/ByteOrder.h"
#include "tkwDec32.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kFrames = 4 * tkw::kSectorLength - 1000;

class Quiet : public EncoderCallbacks {
public:
  void OnFileStart(const char*, const char*) override {}
  void OnProgress(std::uint64_t, std::uint64_t) override {}
  void OnFileEnd(std::uint64_t, std::uint64_t) override {}
  void WriteLog(const char*) override {}
};

// A chord with vibrato, a little noise and a slow stereo pan: enough structure
// for copy blocks of every length, enough noise for literals.
std::vector<std::int16_t> Music() {
  std::vector<std::int16_t> samples(2 * static_cast<std::size_t>(kFrames));
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0, 60);
  constexpr double kPi = 3.14159265358979323846;
  for (std::uint32_t i = 0; i < kFrames; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double vibrato = 1 + 0.004 * std::sin(2 * kPi * 5 * t);
    double v = 0;
    for (double f : {220.0, 277.18, 329.63, 440.0})
      v += 2500 * std::sin(2 * kPi * f * vibrato * t);
    const double pan = 0.5 + 0.5 * std::sin(2 * kPi * 0.2 * t);
    samples[2 * i] = static_cast<std::int16_t>(std::lround(v * pan + noise(random)));
    samples[2 * i + 1] = static_cast<std::int16_t>(std::lround(v * (1 - pan) + noise(random)));
  }
  return samples;
}

void WriteWave(const std::string& path, const std::vector<std::int16_t>& samples) {
  unsigned char header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  StoreLe32(header + 4, 36 + dataBytes);
  StoreLe32(header + 16, 16);
  StoreLe16(header + 20, 1);
  StoreLe16(header + 22, 2);
  StoreLe32(header + 24, kRate);
  StoreLe32(header + 28, kRate * 4);
  StoreLe16(header + 32, 4);
  StoreLe16(header + 34, 16);
  std::copy_n("data", 4, header + 36);
  StoreLe32(header + 40, dataBytes);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  for (std::int16_t s : samples) {
    unsigned char bytes[2];
    StoreLe16(bytes, static_cast<std::uint16_t>(s));
    out.write(reinterpret_cast<const char*>(bytes), 2);
  }
}

// The encoded file of a codec version, made on first use.
const std::string& EncodedSound(int version) {
  static std::map<int, std::string> paths;
  auto found = paths.find(version);
  if (found != paths.end()) return found->second;
  const auto folder = std::filesystem::temp_directory_path() / "tkw-decoder-bench";
  std::filesystem::create_directories(folder);
  const std::string wave = (folder / "music.wav").string();
  if (!std::filesystem::exists(wave)) WriteWave(wave, Music());
  const std::string output = (folder / ("music-v" + std::to_string(version) + ".tkw")).string();
  if (!std::filesystem::exists(output)) {
    EncoderSettings settings;
    settings.EncodeVersion = version;
    settings.bRemake = 1;
    Quiet quiet;
    EncodeDriver driver(settings, quiet);
    driver.EncodeWithVersion(wave, output);
  }
  return paths.emplace(version, output).first->second;
}

void Decode(benchmark::State& state) {
  const int version = static_cast<int>(state.range(0));
  const std::uint32_t flags = state.range(1) ? TKW_OPEN_STREAM : 0;
  const std::uint32_t request = static_cast<std::uint32_t>(state.range(2));
  const std::string& path = EncodedSound(version);
  std::vector<std::int16_t> buffer(2 * static_cast<std::size_t>(request));
  for (auto _ : state) {
    TkwDecodeHandle* sound = nullptr;
    if (tkwDecodeOpen(&sound, path.c_str(), flags) != TKW_OK) {
      state.SkipWithError("the encoded sound does not open");
      return;
    }
    while (tkwDecodeRead(sound, buffer.data(), request, nullptr) == TKW_OK) {
    }
    benchmark::DoNotOptimize(buffer.data());
    tkwDecodeClose(sound);
  }
  state.counters["x_realtime"] = benchmark::Counter(
      static_cast<double>(kFrames) / kRate * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  char label[96];
  std::snprintf(label, sizeof label, "v%d %s, %ju bytes", version, flags ? "on demand" : "sector",
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
  state.SetLabel(label);
}

} // namespace

// Arguments: codec version, on-demand mode, frames per request.
BENCHMARK(Decode)
    ->Args({2, 0, 8820})
    ->Args({2, 1, 8820})
    ->Args({2, 1, 512})
    ->Args({1, 0, 8820})
    ->Args({1, 1, 8820})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
