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
  // The largest magnitude of a code's value.
  double Limit() const { return limit_; }

private:
  double limit_;
  std::int64_t half_;
  double scale_;
  double step_;
  std::uint32_t mask_;
  std::uint32_t signExtension_;
};

// Inline: called twice for every candidate of the search.
inline std::uint16_t QuantiserA::Code(double value, double* coded) const {
  // Compared as doubles before any conversion: a fitted value may be far
  // outside the integer range.
  const double q = value * scale_;
  std::uint32_t code;
  if (q >= static_cast<double>(half_))
    code = static_cast<std::uint32_t>(half_ - 1);
  else if (q <= -static_cast<double>(half_))
    code = static_cast<std::uint32_t>(half_); // the pattern of -half
  else
    code = static_cast<std::uint32_t>(static_cast<std::int64_t>(q)) & mask_;
  *coded = Value(static_cast<std::uint16_t>(code));
  return static_cast<std::uint16_t>(code);
}

inline double QuantiserA::Value(std::uint16_t code) const {
  std::uint32_t pattern = code;
  if (pattern & static_cast<std::uint32_t>(half_)) pattern |= signExtension_;
  const auto signedCode = static_cast<std::int32_t>(pattern);
  // limit / half is exact (a power-of-two scaling), so this rounds like
  // code / half x limit.
  return static_cast<double>(signedCode) * step_;
}
