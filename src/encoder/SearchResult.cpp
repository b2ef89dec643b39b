#include "encoder/SearchResult.h"

#include <cstdlib>
#include <limits>

double ErrorThreshold(int length, std::int32_t maxError2) {
  const std::uint64_t e = static_cast<std::uint64_t>(std::llabs(maxError2));
  const std::uint64_t squared = e * e; // below 2^62
  const auto l = static_cast<std::uint64_t>(length);
  if (squared > std::numeric_limits<std::uint64_t>::max() / l)
    return static_cast<double>(std::numeric_limits<std::uint64_t>::max());
  return static_cast<double>(squared * l);
}
