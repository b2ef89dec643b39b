// Writes a 16-bit PCM RIFF wave file. The data goes to a temporary name next
// to the target and is renamed into place by Finish(), so a failed or
// interrupted run never leaves a half-written file under the final name.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

class WavWriter {
public:
  WavWriter(std::string path, std::uint16_t channels, std::uint32_t sampleRate);
  ~WavWriter(); // removes the temporary file unless Finish() succeeded
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  bool IsOpen() const { return out_.is_open(); }
  // Appends interleaved frames (channels samples each).
  bool Write(const std::int16_t* samples, std::uint32_t frames);
  // Completes the header and moves the file to its final name.
  bool Finish();

private:
  std::string path_;
  std::string partPath_;
  std::ofstream out_;
  std::uint16_t channels_;
  std::uint32_t sampleRate_;
  std::uint64_t dataBytes_ = 0;
  bool finished_ = false;
};
