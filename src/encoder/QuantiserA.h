// Version 1 codes: linear, `bits` wide two's-complement codes that span
// -limit ... limit x (1 - 2^(1 - bits)).
#pragma once

#include <cstdint>

class QuantiserA {
public:
  QuantiserA(int bits, int limit);

  // The code of a value, clamped to the code range, and the code's value as
  // the decoder computes it.
  std::uint16_t Code(double value, double* coded) const;
  double Value(std::uint16_t code) const;

private:
  std::int64_t half_;
  double scale_;
  double limit_;
  std::uint32_t mask_;
  std::uint32_t signExtension_;
};
