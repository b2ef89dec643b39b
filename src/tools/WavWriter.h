// Writes a 16-bit PCM RIFF wave file of a known length. The header goes
// first with its final sizes, so the wave can stream to standard output or a
// pipe; a regular file is written under a temporary name and put in place by
// Finish(), so a failed or interrupted run never leaves a half-written file
// under the final name (cli::OutputFile).
#pragma once

#include "cli/OutputFile.h"

#include <cstdint>
#include <string>

class WavWriter {
public:
  WavWriter(std::string path, std::uint16_t channels, std::uint32_t sampleRate, std::uint32_t frames);

  // False with the reason in error().
  bool Open();
  // Appends interleaved frames (channels samples each).
  bool Write(const std::int16_t* samples, std::uint32_t frames);
  // Checks that every announced frame came, then completes the output.
  bool Finish();

  const std::string& error() const { return error_; }
  std::string shownName() const { return out_.shownName(); }

private:
  bool Fail(std::string reason);

  cli::OutputFile out_;
  std::uint16_t channels_;
  std::uint32_t sampleRate_;
  std::uint32_t frames_;
  std::uint64_t written_ = 0;
  std::string error_;
};
