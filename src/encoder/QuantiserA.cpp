#include "encoder/QuantiserA.h"

QuantiserA::QuantiserA(int bits, int limit)
    : half_(std::int64_t{1} << (bits - 1)), scale_(static_cast<double>(half_) / limit), limit_(limit),
      mask_(bits >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << bits) - 1), signExtension_(~mask_) {}

std::uint16_t QuantiserA::Code(double value, double* coded) const {
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

double QuantiserA::Value(std::uint16_t code) const {
  std::uint32_t pattern = code;
  if (pattern & static_cast<std::uint32_t>(half_)) pattern |= signExtension_;
  const auto signedCode = static_cast<std::int32_t>(pattern);
  return static_cast<double>(signedCode) / static_cast<double>(half_) * limit_;
}
