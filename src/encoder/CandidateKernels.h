// The hot loop of every search: for one block and 16 consecutive distances,
// the cross sums of the block with each source and the lanes that may still
// be acceptable. Every kernel computes the same numbers: the cross sums are
// exact integers, and the bound test uses the same IEEE operations in the
// same order in every lane, so the kernels differ only in speed.
#pragma once

#include <cstdint>

inline constexpr int kBatchLanes = 16;

// Lane i stands for the distance firstDistance + 15 - i: the sources of
// higher lanes start later in memory, so each lane's samples are loaded
// with one forward load.
struct BatchInput {
  const std::int16_t* x;   // the working signal at position 0
  int p;                   // block start
  int length;              // block length (even)
  int firstDistance;       // the distance of lane 15
  const std::int32_t* sum; // window sums of this length, indexed by position
  const double* squares;   // window sums of squares, likewise
  double Sr;               // the block's sum
  double bound;            // LowerBound::Constant; below 0: no lane is rejected
};

// Fills sigma[i] (the cross sum of lane i) and returns the lanes to evaluate
// as bits (bit i for lane i). A cleared bit is a candidate the lower bound has
// ruled out (LowerBound.h).
using BatchKernel = std::uint32_t (*)(const BatchInput& in, double* sigma);

enum class KernelKind { Plain, Sse2, Avx2, Avx512 };

// Null when this build or this processor cannot run it.
BatchKernel KernelFor(KernelKind kind);
// The fastest kernel this processor runs.
KernelKind BestKernel();
const char* KernelName(KernelKind kind);

namespace kernel_detail {
// 1 + 2^-50: covers the rounding of the two products compared (LowerBound.h).
inline constexpr double kBoundSlack = 1 + 0x1p-50;
// The per-lane bound test, shared by the plain kernel and the reference of
// the vector kernels: true when the candidate may still be acceptable.
inline bool MayPass(double L, double Sd, double Qd, double sigma, double Sr, double bound) {
  const double den = L * Qd - Sd * Sd;
  if (den == 0) return false;
  const double num = L * sigma - Sr * Sd;
  return !(bound * den >= (num * num) * kBoundSlack);
}
BatchKernel Sse2Kernel();
BatchKernel Avx2Kernel();
BatchKernel Avx512Kernel();
} // namespace kernel_detail
