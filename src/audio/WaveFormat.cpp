#include "audio/WaveFormat.h"

namespace audio {

WaveFormat pcm16Format(std::uint16_t channels, std::uint32_t samplesPerSec) {
  WaveFormat format;
  format.formatTag = 1;
  format.channels = channels;
  format.samplesPerSec = samplesPerSec;
  format.blockAlign = static_cast<std::uint16_t>(channels * 2);
  format.avgBytesPerSec = samplesPerSec * format.blockAlign;
  format.bitsPerSample = 16;
  format.extraSize = 0;
  return format;
}

bool isPlayableFormat(const WaveFormat& format) {
  if (format.formatTag != 1 || format.bitsPerSample != 16) return false;
  if (format.channels != 1 && format.channels != 2) return false;
  if (format.blockAlign != format.channels * 2) return false;
  if (format.samplesPerSec < 1000 || format.samplesPerSec > 192000) return false;
  return format.avgBytesPerSec == format.samplesPerSec * format.blockAlign;
}

} // namespace audio
