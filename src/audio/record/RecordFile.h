// The WAV file the recording device writes: every opening of the device
// appends to it while the format stays the same; a new format starts the next
// file (name-2.wav, ...). The header is brought up to date at every close, so
// the file is complete whenever no device is open.
#pragma once

#include "audio/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class WaveFileDestination;
class WaveWriter;

namespace audio {

class RecordFile {
public:
  explicit RecordFile(std::string path);
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // Makes sure a file in this format is open; false when it cannot be created.
  bool begin(const WaveFormat& format);
  // Appends played bytes (16-bit samples in host order).
  void append(const char* data, std::uint32_t bytes);
  void updateHeader();

private:
  bool sameFormat(const WaveFormat& format) const;
  std::string currentPath() const;
  void finish();

  std::string basePath_;
  int fileCount_ = 0;
  WaveFormat format_;
  std::unique_ptr<WaveFileDestination> file_;
  std::unique_ptr<WaveWriter> writer_;
  std::vector<std::int16_t> samples_; // the played bytes, aligned as samples
};

} // namespace audio
