#include "WaveComparison.h"

#include "support/ByteOrder.h"
#include "support/Exceptions.h"

#include <cmath>
#include <cstdlib>
#include <limits>

bool WaveComparison::Open(const std::string& path, unsigned channels, std::uint32_t length) {
  try {
    wave_.Open(path.c_str(), 0);
  } catch (const RWF_FileNotExist&) {
    return error_ = "no such file", false;
  } catch (...) {
    return error_ = "not a PCM wave file", false;
  }
  if (wave_.bitsPerSample != 16) return error_ = "not a 16-bit wave file", false;
  if (wave_.channels != channels || wave_.frames != length) return error_ = "channels or length differ", false;
  channels_ = channels;
  waveSize_ = wave_.Size();
  return true;
}

bool WaveComparison::Compare(const std::int16_t* decoded, std::uint32_t frames) {
  const std::size_t samples = std::size_t{frames} * channels_;
  bytes_.resize(samples * 2);
  if (wave_.Read(bytes_.data(), static_cast<std::uint32_t>(bytes_.size())) != bytes_.size())
    return error_ = "the original is shorter than its header says", false;
  for (std::size_t i = 0; i < samples; ++i) {
    const int original = static_cast<std::int16_t>(LoadLe16(&bytes_[i * 2]));
    const int difference = decoded[i] - original;
    signal_ += static_cast<double>(original) * original;
    noise_ += static_cast<double>(difference) * difference;
    if (std::abs(difference) > maxError_) maxError_ = std::abs(difference);
  }
  return true;
}

double WaveComparison::SnrDb() const {
  if (noise_ == 0) return std::numeric_limits<double>::infinity();
  if (signal_ == 0) return -std::numeric_limits<double>::infinity();
  return 10 * std::log10(signal_ / noise_);
}
