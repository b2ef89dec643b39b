// Compares decoded frames with the original wave file, block by block: the
// signal-to-noise ratio, the largest sample error and the size ratio.
#pragma once

#include "wave/RWaveFile.h"

#include <cstdint>
#include <string>
#include <vector>

class WaveComparison {
public:
  // Opens the original; false (with a message in error()) when it cannot be
  // read or does not match the decoded sound's channels and length.
  bool Open(const std::string& path, unsigned channels, std::uint32_t length);
  // Compares the next decoded frames with the same stretch of the original.
  bool Compare(const std::int16_t* decoded, std::uint32_t frames);

  // 10 log10(signal energy / error energy); infinite when nothing differs.
  double SnrDb() const;
  int MaxError() const { return maxError_; }
  std::int64_t WaveSize() const { return waveSize_; }
  const std::string& error() const { return error_; }

private:
  RWaveFile wave_;
  unsigned channels_ = 0;
  double signal_ = 0;
  double noise_ = 0;
  int maxError_ = 0;
  std::int64_t waveSize_ = 0;
  std::string error_;
  std::vector<unsigned char> bytes_;
};
