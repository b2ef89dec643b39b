// Versions 2 and 3 codes: an 8-bit non-linear contrast code (fine steps near
// 1.0) and a 9-bit square-law brightness code, and the 8-bit literal code.
#pragma once

#include <cstdint>

namespace quantiser_b {

std::uint16_t ContrastCode(double value, double* coded);
double ContrastValue(std::uint16_t code);
std::uint16_t BrightnessCode(double value, double* coded);
double BrightnessValue(std::uint16_t code);

// A literal sample's code and the sample the decoder makes of it.
std::uint8_t LiteralCode(std::int16_t sample);
std::int16_t LiteralValue(std::uint8_t code);

} // namespace quantiser_b

// Adapter with the interface of QuantiserA for the candidate evaluation.
struct QuantiserB {
  std::uint16_t ContrastCode(double value, double* coded) const { return quantiser_b::ContrastCode(value, coded); }
  std::uint16_t BrightnessCode(double value, double* coded) const { return quantiser_b::BrightnessCode(value, coded); }
};
