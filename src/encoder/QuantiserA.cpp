#include "encoder/QuantiserA.h"

QuantiserA::QuantiserA(int bits, int limit)
    : limit_(limit), half_(std::int64_t{1} << (bits - 1)), scale_(static_cast<double>(half_) / limit),
      step_(static_cast<double>(limit) / static_cast<double>(half_)),
      mask_(bits >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << bits) - 1), signExtension_(~mask_) {}
