// A 16-bit PCM wave file opened for encoding: the structure is checked and
// reading starts at the first sample. The bytes come from a file by its path
// or from any byte source (memory, a window onto a larger file).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class ByteSource;

class RWaveFile {
public:
  RWaveFile();
  ~RWaveFile();
  RWaveFile(const RWaveFile&) = delete;
  RWaveFile& operator=(const RWaveFile&) = delete;

  // Mode 0 (read) is the only mode. Throws RWF_FileNotExist, RWF_NotWaveFormat
  // or RWF_NotPCMFile; the file is closed before an exception leaves.
  void Open(const char* path, int mode = 0);
  // The same checks on bytes from elsewhere; a source that is not open is no
  // wave file (RWF_NotWaveFormat).
  void Open(std::unique_ptr<ByteSource> source);
  void Close();
  bool IsOpen() const { return source_ != nullptr; }

  // Up to `count` bytes of samples from where the last read stopped; never
  // beyond the whole frames of the "data" chunk. A failed file read prints the
  // FatalError line and comes back short.
  std::uint32_t Read(void* buffer, std::uint32_t count);
  // Offset in the file of the next byte Read gives, or -1 when not open.
  std::int64_t Position() const { return IsOpen() ? position_ : -1; }
  // Bytes in the whole file, or -1.
  std::int64_t Size() const;

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
  bool ReadHeader(void* buffer, std::uint32_t count);
  bool Skip(std::uint32_t count);
  [[noreturn]] void Refuse(std::string reason);
  [[noreturn]] void RefuseFormat(std::string reason);

  std::unique_ptr<ByteSource> source_;
  std::int64_t position_ = 0;
  std::int64_t dataEnd_ = 0; // just past the last whole frame
  std::string refusal_;
};
