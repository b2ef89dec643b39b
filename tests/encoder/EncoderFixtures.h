// Wave files, test signals and recording callbacks for the encoder tests.
#pragma once

#include "encoder/EncoderCallbacks.h"
#include "encoder/WorkingSignal.h"
#include "testutil/WaveLayout.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace enc_test {

// Wave files byte by byte come from the test utilities.
using testutil::MakeWave;
using testutil::Pcm16Bytes;
using testutil::WaveLayout;

// A 16-bit wave file of interleaved samples.
void WriteWave(const std::string& path, const std::vector<std::int16_t>& interleaved, int channels = 1,
               std::uint32_t sampleRate = 22050);

enum class Signal { Silence, Noise, Sweep, Speech, Loud, BurstAtEnd };
const char* SignalName(Signal signal);
// `frames` frames of `channels` interleaved channels (the channels differ).
std::vector<std::int16_t> MakeSignal(Signal signal, std::uint32_t frames, int channels);

// Records what the engine reports; can stop the batch like a cancel button.
class RecordingCallbacks : public EncoderCallbacks {
public:
  void OnFileStart(const char* wavePath, const char* outputPath) override;
  void OnProgress(std::uint64_t total, std::uint64_t done) override;
  void OnFileEnd(std::uint64_t inputSize, std::uint64_t outputSize) override;
  void WriteLog(const char* line) override;
  void OnFileFailed(const char* wavePath, const char* reason) override;

  // Throw User_Cannceled at the first progress call of the file with this
  // 1-based number, once `afterCalls` calls of that file have passed.
  int cancelInFile = 0;
  int afterCalls = 0;
  // With cancelInFile: throw instead once that many samples are done.
  std::uint64_t cancelAtDone = 0;

  std::vector<std::string> started;
  std::vector<std::string> log;
  int ended = 0;
  std::uint64_t lastTotal = 0;
  std::uint64_t lastDone = 0;
  bool progressWentBack = false;     // within a file
  std::vector<std::string> failures; // "path: reason"

private:
  int callsInFile_ = 0;
};

// Decodes a whole .tkw file through the public exports; interleaved frames.
struct Decoded {
  int status = -1;
  std::uint32_t length = 0;
  int channels = 0;
  std::uint32_t sampleRate = 0;
  std::vector<std::int16_t> frames;
};
Decoded DecodeFile(const std::string& path);

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t offset);

} // namespace enc_test
