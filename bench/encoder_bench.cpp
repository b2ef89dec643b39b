// Encoding speed per codec version, in samples per second, on one second of
// a generated speech-like signal at 22050 Hz (one chunk).
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTKW_BUILD_BENCH=ON -DTKW_BUILD_TESTS=OFF
//   cmake --build build/bench --target encoder_bench && build/bench/bench/encoder_bench
#include "encoder/TkwWriterV1.h"
#include "encoder/TkwWriterV2.h"
#include "encoder/TkwWriterV3.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

class Quiet : public EncoderCallbacks {
public:
  void OnFileStart(const char*, const char*) override {}
  void OnProgress(std::uint64_t, std::uint64_t) override {}
  void OnFileEnd(std::uint64_t, std::uint64_t) override {}
  void WriteLog(const char*) override {}
};

std::vector<std::int16_t> SpeechLike(int count) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(count));
  std::mt19937 random(42);
  std::normal_distribution<double> noise(0, 150);
  constexpr double kPi = 3.14159265358979323846;
  for (int i = 0; i < count; ++i) {
    const double t = i / 22050.0;
    const double envelope = std::max(0.0, std::sin(2 * kPi * 3 * t));
    const double pitch = 120 + 30 * std::sin(2 * kPi * 1.5 * t);
    double v = noise(random);
    for (int h = 1; h <= 6; ++h)
      v += envelope * 6000 / h * std::sin(2 * kPi * pitch * h * t);
    out[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
  }
  return out;
}

void EncodeChunk(benchmark::State& state) {
  const int version = static_cast<int>(state.range(0));
  EncoderSettings settings;
  settings.DestBits = static_cast<int>(state.range(1));
  const std::vector<std::int16_t> signal = SpeechLike(22050);
  Quiet callbacks;
  ErrorNotice notice;
  EncodeContext context{settings, callbacks, notice};
  std::unique_ptr<TkwWriter> writer;
  if (version == 1) writer = std::make_unique<TkwWriterV1>(context);
  if (version == 2) writer = std::make_unique<TkwWriterV2>(context);
  if (version == 3) writer = std::make_unique<TkwWriterV3>(context);
  std::size_t bytes = 0;
  for (auto _ : state) {
    TkwBitWriter bits;
    writer->EncodeChunk(bits, signal.data(), static_cast<int>(signal.size()), signal.size(), 0);
    bits.Flush();
    bytes = bits.WordCount() * 4;
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(signal.size()));
  state.counters["chunk_bytes"] = static_cast<double>(bytes);
}

} // namespace

BENCHMARK(EncodeChunk)
    ->ArgNames({"version", "dest_bits"})
    ->Args({1, 10})
    ->Args({2, 10})
    ->Args({3, 10})
    ->Args({2, 13})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
