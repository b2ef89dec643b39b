// A wave file on disk as the writer's destination: created (or emptied) at
// construction, and able to go back to bring the header up to date.
#pragma once

#include "wave/WaveWriter.h"

#include <cstdio>
#include <string>

class WaveFileDestination final : public WaveWriter::Destination {
public:
  explicit WaveFileDestination(const std::string& path);
  ~WaveFileDestination() override;
  WaveFileDestination(const WaveFileDestination&) = delete;
  WaveFileDestination& operator=(const WaveFileDestination&) = delete;

  bool IsOpen() const { return file_ != nullptr; }

  bool Append(const void* bytes, std::size_t size) override;
  bool OverwriteStart(const void* bytes, std::size_t size) override;
  std::string Failure() const override { return failure_; }

private:
  bool Fail();

  std::FILE* file_;
  std::string failure_;
};
