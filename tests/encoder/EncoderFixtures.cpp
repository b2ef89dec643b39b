#include "EncoderFixtures.h"

#include "support/Exceptions.h"
#include "testutil/TempDir.h"
#include "tkwDec32.h"

#include <cmath>
#include <cstring>
#include <random>

namespace enc_test {

namespace {

std::int16_t Clamp(double v) {
  if (v > 32767) return 32767;
  if (v < -32768) return -32768;
  return static_cast<std::int16_t>(std::lround(v));
}

} // namespace

void WriteWave(const std::string& path, const std::vector<std::int16_t>& interleaved, int channels,
               std::uint32_t sampleRate) {
  WaveLayout layout;
  layout.channels = static_cast<std::uint16_t>(channels);
  layout.sampleRate = sampleRate;
  testutil::WriteBytes(path, MakeWave(testutil::Pcm16Bytes(interleaved), layout));
}

const char* SignalName(Signal signal) {
  switch (signal) {
  case Signal::Silence: return "silence";
  case Signal::Noise: return "noise";
  case Signal::Sweep: return "sweep";
  case Signal::Speech: return "speech";
  case Signal::Loud: return "loud";
  case Signal::BurstAtEnd: return "burst-at-end";
  }
  return "?";
}

std::vector<std::int16_t> MakeSignal(Signal signal, std::uint32_t frames, int channels) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * channels, 0);
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> noise(-12000, 12000);
  constexpr double kPi = 3.14159265358979323846;
  for (std::uint32_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      const double t = i / 22050.0;
      double v = 0;
      switch (signal) {
      case Signal::Silence: break;
      case Signal::Noise: v = noise(random); break;
      case Signal::Sweep: v = 9000 * std::sin(2 * kPi * (100 + 2000 * t) * t + c); break;
      case Signal::Speech: {
        // Voiced stretches of a wandering pitch with harmonics, and pauses.
        const double envelope = std::max(0.0, std::sin(2 * kPi * 3 * t + c));
        const double pitch = 120 + 30 * std::sin(2 * kPi * 1.5 * t);
        for (int h = 1; h <= 5; ++h)
          v += envelope * 5000 / h * std::sin(2 * kPi * pitch * h * t);
        v += noise(random) / 40.0;
        break;
      }
      case Signal::Loud:
        // Full-scale square waves and clipped noise: copy blocks that wrap.
        v = ((i / (37 + 5 * c)) % 2 ? 32767 : -32768) + (i % 7 == 0 ? noise(random) : 0);
        break;
      case Signal::BurstAtEnd:
        // Silence, then sound across the end of the first sector and in the last frame.
        if (i >= 130000 || i + 1 == frames) v = 8000 * std::sin(2 * kPi * 440 * t + c) + noise(random) / 20.0;
        break;
      }
      out[static_cast<std::size_t>(i) * channels + c] = Clamp(v);
    }
  }
  return out;
}

void RecordingCallbacks::OnFileStart(const char* wavePath, const char*) {
  started.emplace_back(wavePath);
  callsInFile_ = 0;
}

void RecordingCallbacks::OnProgress(std::uint64_t total, std::uint64_t done) {
  if (callsInFile_ > 0 && done < lastDone) progressWentBack = true;
  lastTotal = total;
  lastDone = done;
  const bool inFile = cancelInFile > 0 && cancelInFile == static_cast<int>(started.size());
  if (inFile && cancelAtDone > 0) {
    ++callsInFile_;
    if (done >= cancelAtDone) throw User_Cannceled{};
    return;
  }
  if (inFile && callsInFile_ >= afterCalls) throw User_Cannceled{};
  ++callsInFile_;
}

void RecordingCallbacks::OnFileFailed(const char* wavePath, const char* reason) {
  failures.push_back(std::string(wavePath) + ": " + reason);
}

void RecordingCallbacks::OnFileEnd(std::uint64_t, std::uint64_t) { ++ended; }

void RecordingCallbacks::WriteLog(const char* line) { log.emplace_back(line); }

Decoded DecodeFile(const std::string& path) {
  Decoded result;
  TkwDecodeHandle* handle = nullptr;
  result.status = tkwDecodeOpen(&handle, path.c_str(), 0);
  if (result.status != TKW_OK) return result;
  TkwWaveFormat format{};
  tkwDecodeGetLength(handle, &result.length);
  tkwDecodeGetFormat(handle, &format);
  result.channels = format.channels;
  result.sampleRate = format.samplesPerSec;
  result.frames.assign(static_cast<std::size_t>(result.length) * format.channels, 0);
  std::uint32_t delivered = 0;
  result.status = tkwDecodeRead(handle, result.frames.data(), result.length, &delivered);
  if (delivered != result.length) result.status = -2;
  tkwDecodeClose(handle);
  return result;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t o) {
  return b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | (static_cast<std::uint32_t>(b[o + 3]) << 24);
}

} // namespace enc_test
