// The vector kernels. Each pair of samples of the block meets 16 sources at
// once: madd forms x[j] s[j] + x[j+1] s[j+1] per lane, exact in 32 bits
// except 2 x (-32768)^2 = 2^31, which wraps to -2^31. The true pair sums lie
// in [-2^31 + 2^17, 2^31], so pair sum - 1 always fits: the kernels add
// (madd - 1) in double (exact, the totals stay below 2^40) and the number of
// pairs at the end. The bound test is the plain kernel's, lane by lane, with
// separate multiplies and subtractions (these functions are built without
// fused multiply-add).
#include "encoder/CandidateKernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <cstring>

// 32-bit Windows aligns the stack to 4 bytes only; realign it for spills.
#if defined(_WIN32) && defined(__i386__)
#define TKW_REALIGN __attribute__((force_align_arg_pointer))
#else
#define TKW_REALIGN
#endif

namespace {

using kernel_detail::kBoundSlack;

inline std::int32_t PairAt(const std::int16_t* p) {
  std::int32_t pair;
  std::memcpy(&pair, p, sizeof pair);
  return pair;
}

const std::int32_t* SourceSums(const BatchInput& in) {
  return in.sum + (in.p + in.length - in.firstDistance - kBatchLanes - 1);
}
const double* SourceSquares(const BatchInput& in) {
  return in.squares + (in.p + in.length - in.firstDistance - kBatchLanes - 1);
}

__attribute__((target("sse2"))) TKW_REALIGN std::uint32_t Sse2(const BatchInput& in, double* sigma) {
  const std::int16_t* block = in.x + in.p;
  const __m128i minusOne = _mm_set1_epi32(-1);
  const __m128d pairs = _mm_set1_pd(in.length / 2);
  for (int half = 0; half < 2; ++half) {
    const std::int16_t* src = in.x + in.p - in.firstDistance - kBatchLanes + 8 * half;
    __m128d a0 = _mm_setzero_pd(), a1 = _mm_setzero_pd(), a2 = _mm_setzero_pd(), a3 = _mm_setzero_pd();
    for (int j = 0; j < in.length; j += 2) {
      const __m128i r = _mm_set1_epi32(PairAt(block + j));
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + j));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + j + 1));
      const __m128i lo = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(a, b), r), minusOne);
      const __m128i hi = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(a, b), r), minusOne);
      a0 = _mm_add_pd(a0, _mm_cvtepi32_pd(lo));
      a1 = _mm_add_pd(a1, _mm_cvtepi32_pd(_mm_shuffle_epi32(lo, 0xEE)));
      a2 = _mm_add_pd(a2, _mm_cvtepi32_pd(hi));
      a3 = _mm_add_pd(a3, _mm_cvtepi32_pd(_mm_shuffle_epi32(hi, 0xEE)));
    }
    double* out = sigma + 8 * half;
    _mm_storeu_pd(out, _mm_add_pd(a0, pairs));
    _mm_storeu_pd(out + 2, _mm_add_pd(a1, pairs));
    _mm_storeu_pd(out + 4, _mm_add_pd(a2, pairs));
    _mm_storeu_pd(out + 6, _mm_add_pd(a3, pairs));
  }
  if (in.bound < 0) return 0xFFFF;
  const std::int32_t* S = SourceSums(in);
  const double* Q = SourceSquares(in);
  const __m128d L = _mm_set1_pd(in.length), Sr = _mm_set1_pd(in.Sr), K = _mm_set1_pd(in.bound);
  const __m128d slack = _mm_set1_pd(kBoundSlack), zero = _mm_setzero_pd();
  std::uint32_t keep = 0;
  for (int v = 0; v < kBatchLanes; v += 2) {
    const __m128d Sd = _mm_cvtepi32_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(S + v)));
    const __m128d Qd = _mm_loadu_pd(Q + v);
    const __m128d den = _mm_sub_pd(_mm_mul_pd(L, Qd), _mm_mul_pd(Sd, Sd));
    const __m128d num = _mm_sub_pd(_mm_mul_pd(L, _mm_loadu_pd(sigma + v)), _mm_mul_pd(Sr, Sd));
    const __m128d reject =
        _mm_or_pd(_mm_cmpge_pd(_mm_mul_pd(K, den), _mm_mul_pd(_mm_mul_pd(num, num), slack)), _mm_cmpeq_pd(den, zero));
    keep |= static_cast<std::uint32_t>(~_mm_movemask_pd(reject) & 3) << v;
  }
  return keep;
}

__attribute__((target("avx2"))) TKW_REALIGN std::uint32_t Avx2(const BatchInput& in, double* sigma) {
  const std::int16_t* block = in.x + in.p;
  const std::int16_t* src = in.x + in.p - in.firstDistance - kBatchLanes;
  const __m256i minusOne = _mm256_set1_epi32(-1);
  // Lanes 0-3, 4-7, 8-11, 12-15.
  __m256d a0 = _mm256_setzero_pd(), a1 = _mm256_setzero_pd(), a2 = _mm256_setzero_pd(), a3 = _mm256_setzero_pd();
  for (int j = 0; j < in.length; j += 2) {
    const __m256i r = _mm256_set1_epi32(PairAt(block + j));
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + j));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + j + 1));
    // Unpacking works within 128-bit halves: lo holds lanes 0-3 and 8-11.
    const __m256i lo = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(a, b), r), minusOne);
    const __m256i hi = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(a, b), r), minusOne);
    a0 = _mm256_add_pd(a0, _mm256_cvtepi32_pd(_mm256_castsi256_si128(lo)));
    a2 = _mm256_add_pd(a2, _mm256_cvtepi32_pd(_mm256_extracti128_si256(lo, 1)));
    a1 = _mm256_add_pd(a1, _mm256_cvtepi32_pd(_mm256_castsi256_si128(hi)));
    a3 = _mm256_add_pd(a3, _mm256_cvtepi32_pd(_mm256_extracti128_si256(hi, 1)));
  }
  const __m256d pairs = _mm256_set1_pd(in.length / 2);
  _mm256_storeu_pd(sigma, _mm256_add_pd(a0, pairs));
  _mm256_storeu_pd(sigma + 4, _mm256_add_pd(a1, pairs));
  _mm256_storeu_pd(sigma + 8, _mm256_add_pd(a2, pairs));
  _mm256_storeu_pd(sigma + 12, _mm256_add_pd(a3, pairs));
  if (in.bound < 0) return 0xFFFF;
  const std::int32_t* S = SourceSums(in);
  const double* Q = SourceSquares(in);
  const __m256d L = _mm256_set1_pd(in.length), Sr = _mm256_set1_pd(in.Sr), K = _mm256_set1_pd(in.bound);
  const __m256d slack = _mm256_set1_pd(kBoundSlack), zero = _mm256_setzero_pd();
  std::uint32_t keep = 0;
  for (int v = 0; v < kBatchLanes; v += 4) {
    const __m256d Sd = _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(S + v)));
    const __m256d Qd = _mm256_loadu_pd(Q + v);
    const __m256d den = _mm256_sub_pd(_mm256_mul_pd(L, Qd), _mm256_mul_pd(Sd, Sd));
    const __m256d num = _mm256_sub_pd(_mm256_mul_pd(L, _mm256_loadu_pd(sigma + v)), _mm256_mul_pd(Sr, Sd));
    const __m256d reject =
        _mm256_or_pd(_mm256_cmp_pd(_mm256_mul_pd(K, den), _mm256_mul_pd(_mm256_mul_pd(num, num), slack), _CMP_GE_OQ),
                     _mm256_cmp_pd(den, zero, _CMP_EQ_OQ));
    keep |= static_cast<std::uint32_t>(~_mm256_movemask_pd(reject) & 15) << v;
  }
  return keep;
}

// GCC's own AVX-512 headers start some results from undefined vectors (clang
// has no such warning, and would warn about the unknown name).
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
__attribute__((target("avx512f,avx512bw"))) TKW_REALIGN std::uint32_t Avx512(const BatchInput& in, double* sigma) {
  const std::int16_t* block = in.x + in.p;
  const std::int16_t* src = in.x + in.p - in.firstDistance - kBatchLanes;
  const __m512i minusOne = _mm512_set1_epi32(-1);
  // aLow: lanes 0-3 and 8-11; aHigh: lanes 4-7 and 12-15.
  __m512d aLow = _mm512_setzero_pd(), aHigh = _mm512_setzero_pd();
  for (int j = 0; j < in.length; j += 2) {
    const __m512i r = _mm512_set1_epi32(PairAt(block + j));
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + j));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + j + 1));
    const __m512i both =
        _mm512_inserti64x4(_mm512_castsi256_si512(_mm256_unpacklo_epi16(a, b)), _mm256_unpackhi_epi16(a, b), 1);
    const __m512i m = _mm512_add_epi32(_mm512_madd_epi16(both, r), minusOne);
    aLow = _mm512_add_pd(aLow, _mm512_cvtepi32_pd(_mm512_castsi512_si256(m)));
    aHigh = _mm512_add_pd(aHigh, _mm512_cvtepi32_pd(_mm512_extracti64x4_epi64(m, 1)));
  }
  const __m512d pairs = _mm512_set1_pd(in.length / 2);
  const __m512d first = _mm512_permutex2var_pd(aLow, _mm512_setr_epi64(0, 1, 2, 3, 8, 9, 10, 11), aHigh);
  const __m512d second = _mm512_permutex2var_pd(aLow, _mm512_setr_epi64(4, 5, 6, 7, 12, 13, 14, 15), aHigh);
  const __m512d s0 = _mm512_add_pd(first, pairs);
  const __m512d s1 = _mm512_add_pd(second, pairs);
  _mm512_storeu_pd(sigma, s0);
  _mm512_storeu_pd(sigma + 8, s1);
  if (in.bound < 0) return 0xFFFF;
  const std::int32_t* S = SourceSums(in);
  const double* Q = SourceSquares(in);
  const __m512d L = _mm512_set1_pd(in.length), Sr = _mm512_set1_pd(in.Sr), K = _mm512_set1_pd(in.bound);
  const __m512d slack = _mm512_set1_pd(kBoundSlack), zero = _mm512_setzero_pd();
  std::uint32_t keep = 0;
  const __m512d sums[2] = {s0, s1};
  for (int v = 0; v < 2; ++v) {
    const __m512d Sd = _mm512_cvtepi32_pd(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(S + 8 * v)));
    const __m512d Qd = _mm512_loadu_pd(Q + 8 * v);
    const __m512d den = _mm512_sub_pd(_mm512_mul_pd(L, Qd), _mm512_mul_pd(Sd, Sd));
    const __m512d num = _mm512_sub_pd(_mm512_mul_pd(L, sums[v]), _mm512_mul_pd(Sr, Sd));
    const __mmask8 reject =
        _mm512_cmp_pd_mask(_mm512_mul_pd(K, den), _mm512_mul_pd(_mm512_mul_pd(num, num), slack), _CMP_GE_OQ) |
        _mm512_cmp_pd_mask(den, zero, _CMP_EQ_OQ);
    keep |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(~reject)) << (8 * v);
  }
  return keep;
}
#pragma GCC diagnostic pop

// The feature names must be literals.
#define TKW_RUNS(feature) (__builtin_cpu_init(), __builtin_cpu_supports(feature))

} // namespace

namespace kernel_detail {

BatchKernel Sse2Kernel() { return TKW_RUNS("sse2") ? Sse2 : nullptr; }
BatchKernel Avx2Kernel() { return TKW_RUNS("avx2") ? Avx2 : nullptr; }
BatchKernel Avx512Kernel() { return TKW_RUNS("avx512f") && TKW_RUNS("avx512bw") ? Avx512 : nullptr; }

} // namespace kernel_detail

#else

namespace kernel_detail {
BatchKernel Sse2Kernel() { return nullptr; }
BatchKernel Avx2Kernel() { return nullptr; }
BatchKernel Avx512Kernel() { return nullptr; }
} // namespace kernel_detail

#endif
