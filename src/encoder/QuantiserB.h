// Versions 2 and 3 codes: an 8-bit non-linear contrast code (fine steps near
// 1.0) and a 9-bit square-law brightness code, and the 8-bit literal code.
#pragma once

#include <cmath>
#include <cstdint>

namespace quantiser_b {

// Inline: called for every candidate of the search.
namespace detail {

// trunc(x), at most `limit`, for a non-negative x of any size.
inline std::uint32_t TruncatedAtMost(double x, std::uint32_t limit) {
  if (!(x < static_cast<double>(limit))) return limit;
  return static_cast<std::uint32_t>(x);
}

} // namespace detail

inline double ContrastValue(std::uint16_t code);
inline double BrightnessValue(std::uint16_t code);

inline std::uint16_t ContrastCode(double value, double* coded) {
  std::uint16_t code = value < 0 ? 0x80 : 0;
  const double a = std::fabs(value);
  if (a < 1) {
    const std::uint32_t m = detail::TruncatedAtMost(std::sqrt(1 - a) * 63, 63);
    code |= static_cast<std::uint16_t>(63 - m);
  } else {
    code |= 0x40;
    code |= static_cast<std::uint16_t>(detail::TruncatedAtMost(std::sqrt((a - 1) * 2) * 32, 63));
  }
  *coded = ContrastValue(code);
  return code;
}

inline double ContrastValue(std::uint16_t code) {
  const double m = code & 63;
  double value;
  if (code & 0x40)
    value = 1 + m * m * 0.00048828125;
  else
    value = 1 - (63 - m) * (63 - m) * 0.0002519526329050139;
  return (code & 0x80) ? -value : value;
}

inline std::uint16_t BrightnessCode(double value, double* coded) {
  std::uint16_t code = value < 0 ? 0x100 : 0;
  code |= static_cast<std::uint16_t>(detail::TruncatedAtMost(std::sqrt(std::fabs(value) * 4), 255));
  *coded = BrightnessValue(code);
  return code;
}

inline double BrightnessValue(std::uint16_t code) {
  const double w = code & 255;
  const double value = w * w * 0.25;
  return (code & 0x100) ? -value : value;
}

// A literal sample's code and the sample the decoder makes of it.
std::uint8_t LiteralCode(std::int16_t sample);
std::int16_t LiteralValue(std::uint8_t code);

} // namespace quantiser_b

// Adapter with the interface of QuantiserA for the candidate evaluation.
struct QuantiserB {
  // Bounds of the code values' magnitudes (2.9379883 and 16256.25).
  static constexpr double kMaxContrast = 3;
  static constexpr double kMaxBrightness = 16384;
  double MaxContrast() const { return kMaxContrast; }
  double MaxBrightness() const { return kMaxBrightness; }
  std::uint16_t ContrastCode(double value, double* coded) const { return quantiser_b::ContrastCode(value, coded); }
  std::uint16_t BrightnessCode(double value, double* coded) const { return quantiser_b::BrightnessCode(value, coded); }
};
