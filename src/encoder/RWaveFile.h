// A 16-bit PCM wave file opened for encoding: the structure is checked and the
// file is left positioned at the first sample.
#pragma once

#include "support/RFile.h"

#include <cstdint>
#include <string>

class RWaveFile : public RFile {
public:
  // Mode 0 (read) is the only mode. Throws RWF_FileNotExist, RWF_NotWaveFormat
  // or RWF_NotPCMFile; the handle is closed before an exception leaves.
  void Open(const char* path, int mode = 0);

  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t extraSize = 0;
  std::uint32_t frames = 0;
  std::uint32_t dataStart = 0;
  std::int32_t mode = 0;

  // Why Open refused the file, in English, for the failure report.
  const std::string& Refusal() const { return refusal_; }

private:
  void Parse();
  [[noreturn]] void Refuse(std::string reason);
  [[noreturn]] void RefuseFormat(std::string reason);

  std::string refusal_;
};
