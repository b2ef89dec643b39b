// Encoding speed in times real time, per codec version, on one thread and on
// every core, with the plain reference search and with the fast search, all
// in one run. The input is a wave file (TKW_BENCH_WAV, for example made by
// bench/make-music) or, without one, 10 seconds of generated 44.1 kHz stereo.
// Also prints the share of candidates the lower bound rules out.
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTKW_BUILD_BENCH=ON -DTKW_BUILD_TESTS=OFF
//   cmake --build build/bench --target encoder_bench
//   TKW_BENCH_WAV=music.wav build/bench/bench/encoder_bench
#include "encoder/EncodeDriver.h"
#include "encoder/TkwWriterV1.h"
#include "encoder/TkwWriterV2.h"
#include "encoder/TkwWriterV3.h"
#include "platform/Files.h"
#include "support/ByteOrder.h"
#include "support/RFile.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>
#include <thread>

namespace {

class Quiet : public EncoderCallbacks {
public:
  void OnFileStart(const char*, const char*) override {}
  void OnProgress(std::uint64_t, std::uint64_t) override {}
  void OnFileEnd(std::uint64_t, std::uint64_t) override {}
  void WriteLog(const char*) override {}
};

// Counts the lanes the kernels return as still possible.
std::atomic<std::uint64_t> lanesSeen{0};
std::atomic<std::uint64_t> lanesKept{0};
BatchKernel countedKernel = nullptr;
std::uint32_t Counting(const BatchInput& in, double* sigma) {
  const std::uint32_t kept = countedKernel(in, sigma);
  lanesSeen.fetch_add(kBatchLanes, std::memory_order_relaxed);
  lanesKept.fetch_add(static_cast<std::uint64_t>(std::popcount(kept)), std::memory_order_relaxed);
  return kept;
}

void PutLe(std::vector<unsigned char>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// 10 s of 44.1 kHz stereo: a melody with harmonics, noise and pauses.
std::string GeneratedWave(const std::string& folder) {
  const std::uint32_t frames = 441000;
  std::vector<unsigned char> data;
  std::mt19937 random(42);
  std::normal_distribution<double> noise(0, 200);
  constexpr double kPi = 3.14159265358979323846;
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double t = i / 44100.0;
    const double pitch = 220 * std::pow(2.0, static_cast<int>(t * 4) % 7 / 12.0);
    const double envelope = std::max(0.0, std::sin(2 * kPi * 2 * t));
    for (int c = 0; c < 2; ++c) {
      double v = noise(random);
      for (int h = 1; h <= 5; ++h)
        v += envelope * 7000 / h * std::sin(2 * kPi * pitch * h * t + c);
      PutLe(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0))), 2);
    }
  }
  std::vector<unsigned char> file;
  file.insert(file.end(), {'R', 'I', 'F', 'F'});
  PutLe(file, static_cast<std::uint32_t>(36 + data.size()), 4);
  file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(file, 16, 4);
  PutLe(file, 1, 2);
  PutLe(file, 2, 2);
  PutLe(file, 44100, 4);
  PutLe(file, 44100 * 4, 4);
  PutLe(file, 4, 2);
  PutLe(file, 16, 2);
  file.insert(file.end(), {'d', 'a', 't', 'a'});
  PutLe(file, static_cast<std::uint32_t>(data.size()), 4);
  file.insert(file.end(), data.begin(), data.end());
  const std::string path = folder + plat::kPathSeparator + "bench-input.wav";
  RFile out;
  out.Open(path.c_str(), RFile::kCreate);
  out.Write(file.data(), static_cast<std::uint32_t>(file.size()));
  return path;
}

const std::string& OutputFolder() {
  static const std::string folder = plat::currentDirectory();
  return folder;
}

const std::string& InputWave() {
  static const std::string path = [] {
    const char* given = std::getenv("TKW_BENCH_WAV");
    return given && *given ? std::string(given) : GeneratedWave(OutputFolder());
  }();
  return path;
}

double ProcessCpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Arguments: version, threads (0: every core), fast (1) or plain (0).
void EncodeFile(benchmark::State& state) {
  EncoderSettings settings;
  settings.EncodeVersion = static_cast<int>(state.range(0));
  settings.bRemake = 1;
  const bool fast = state.range(2) != 0;
  countedKernel = DefaultSearch().kernel;
  Quiet callbacks;
  double audio = 0;
  double wall = 0;
  double cpu = 0;
  lanesSeen = lanesKept = 0;
  for (auto _ : state) {
    EncodeDriver driver(settings, callbacks);
    driver.SetThreadCount(static_cast<int>(state.range(1)));
    driver.SetSearchKernel(fast ? Counting : nullptr);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    driver.EncodeOne(InputWave(), OutputFolder());
    cpu += ProcessCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    audio += driver.counts().audioSeconds;
    if (driver.counts().encoded != 1) state.SkipWithError("the input could not be encoded");
  }
  state.counters["x_real_time"] = audio / wall;
  state.counters["cpu_s_per_audio_s"] = cpu / audio;
  if (fast && lanesSeen > 0)
    state.counters["bound_rejects"] = 1.0 - static_cast<double>(lanesKept) / static_cast<double>(lanesSeen);
  plat::removeFile((OutputFolder() + plat::kPathSeparator + EncodeDriver::OutputName(InputWave())).c_str());
}

void Arguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"version", "threads", "fast"});
  for (int version : {1, 2, 3})
    for (int fast : {0, 1})
      for (int threads : {1, 0})
        b->Args({version, threads, fast});
}

} // namespace

BENCHMARK(EncodeFile)->Apply(Arguments)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
