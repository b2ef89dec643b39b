#include "encoder/QuantiserB.h"

#include <cmath>
#include <cstdlib>

namespace quantiser_b {

namespace {

// trunc(x), at most `limit`, for a non-negative x of any size.
std::uint32_t TruncatedAtMost(double x, std::uint32_t limit) {
  if (!(x < static_cast<double>(limit))) return limit;
  return static_cast<std::uint32_t>(x);
}

} // namespace

std::uint16_t ContrastCode(double value, double* coded) {
  std::uint16_t code = value < 0 ? 0x80 : 0;
  const double a = std::fabs(value);
  if (a < 1) {
    const std::uint32_t m = TruncatedAtMost(std::sqrt(1 - a) * 63, 63);
    code |= static_cast<std::uint16_t>(63 - m);
  } else {
    code |= 0x40;
    code |= static_cast<std::uint16_t>(TruncatedAtMost(std::sqrt((a - 1) * 2) * 32, 63));
  }
  *coded = ContrastValue(code);
  return code;
}

double ContrastValue(std::uint16_t code) {
  const double m = code & 63;
  double value;
  if (code & 0x40)
    value = 1 + m * m * 0.00048828125;
  else
    value = 1 - (63 - m) * (63 - m) * 0.0002519526329050139;
  return (code & 0x80) ? -value : value;
}

std::uint16_t BrightnessCode(double value, double* coded) {
  std::uint16_t code = value < 0 ? 0x100 : 0;
  code |= static_cast<std::uint16_t>(TruncatedAtMost(std::sqrt(std::fabs(value) * 4), 255));
  *coded = BrightnessValue(code);
  return code;
}

double BrightnessValue(std::uint16_t code) {
  const double w = code & 255;
  const double value = w * w * 0.25;
  return (code & 0x100) ? -value : value;
}

std::uint8_t LiteralCode(std::int16_t sample) {
  const std::int32_t magnitude = std::abs(static_cast<std::int32_t>(sample));
  const std::uint32_t m = TruncatedAtMost(std::sqrt(magnitude * 0.5), 127);
  return static_cast<std::uint8_t>((sample < 0 ? 0x80 : 0) | m);
}

std::int16_t LiteralValue(std::uint8_t code) {
  const int m = code & 127;
  const int value = 2 * m * m;
  return static_cast<std::int16_t>((code & 0x80) ? -value : value);
}

} // namespace quantiser_b
