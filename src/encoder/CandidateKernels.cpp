#include "encoder/CandidateKernels.h"

#include "encoder/CandidateEvaluator.h"

namespace {

// The reference: one lane at a time, the cross sum by the plain loop.
std::uint32_t PlainKernel(const BatchInput& in, double* sigma) {
  const double L = in.length;
  std::uint32_t keep = 0;
  for (int i = 0; i < kBatchLanes; ++i) {
    const int d = in.firstDistance + kBatchLanes - 1 - i;
    sigma[i] = static_cast<double>(CrossSum(in.x + in.p, in.x + in.p - d - 1, in.length));
    const int sourceLast = in.p + in.length - d - 2;
    if (in.bound < 0 ||
        kernel_detail::MayPass(L, in.sum[sourceLast], in.squares[sourceLast], sigma[i], in.Sr, in.bound))
      keep |= 1u << i;
  }
  return keep;
}

} // namespace

BatchKernel KernelFor(KernelKind kind) {
  switch (kind) {
  case KernelKind::Plain: return PlainKernel;
  case KernelKind::Sse2: return kernel_detail::Sse2Kernel();
  case KernelKind::Avx2: return kernel_detail::Avx2Kernel();
  case KernelKind::Avx512: return kernel_detail::Avx512Kernel();
  }
  return nullptr;
}

KernelKind BestKernel() {
  static const KernelKind best = [] {
    for (KernelKind kind : {KernelKind::Avx512, KernelKind::Avx2, KernelKind::Sse2})
      if (KernelFor(kind)) return kind;
    return KernelKind::Plain;
  }();
  return best;
}

const char* KernelName(KernelKind kind) {
  switch (kind) {
  case KernelKind::Plain: return "plain";
  case KernelKind::Sse2: return "sse2";
  case KernelKind::Avx2: return "avx2";
  case KernelKind::Avx512: return "avx512";
  }
  return "?";
}
