// The wave file tkwdec writes: a sound of known length to an output the user
// names. The header goes first with its final sizes, so the wave can stream
// to standard output or a pipe; a regular file is written under a temporary
// name and put in place by Finish(), so a failed or interrupted run never
// leaves a half-written file under the final name (cli::OutputFile).
#pragma once

#include "cli/OutputFile.h"
#include "wave/WaveWriter.h"

#include <cstdint>
#include <string>

class WaveOutputFile : private WaveWriter::Destination {
public:
  WaveOutputFile(std::string path, std::uint16_t channels, std::uint32_t sampleRate, std::uint32_t frames);

  // False with the reason in error(); a sound too long for a wave file is
  // refused before the output is touched.
  bool Open();
  // Appends interleaved frames (channels samples each).
  bool Write(const std::int16_t* samples, std::uint32_t frames);
  // Checks that every announced frame came, then completes the output.
  bool Finish();

  const std::string& error() const { return error_; }
  std::string shownName() const { return out_.shownName(); }

private:
  // The output is opened with the header, the first bytes it receives.
  bool Append(const void* bytes, std::size_t size) override;
  bool OverwriteStart(const void*, std::size_t) override { return false; }
  std::string Failure() const override { return out_.error(); }

  bool Fail(std::string reason);

  cli::OutputFile out_;
  bool opened_ = false;
  WaveWriter writer_;
  std::uint16_t channels_;
  std::uint32_t frames_;
  std::uint64_t written_ = 0;
  std::string error_;
};
