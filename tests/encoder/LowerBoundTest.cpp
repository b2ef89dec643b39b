// The lower bound and the batch kernels: every kernel gives the plain
// kernel's exact cross sums and lanes; a candidate the bound rejects never has
// a computed error below the threshold (nor below 0); and it does reject
// what lies clearly above, with perfect fits, constant sources and full-scale
// samples among the cases.
#include "SearchFixtures.h"

#include "encoder/FastSearch.h"
#include "encoder/QuantiserB.h"
#include "encoder/TkwBlockEncoderV1.h"
#include "encoder/WindowSums.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <random>

using namespace enc_test;

namespace {

// A signal with sums of every length up to date, ready for kernel calls.
struct Scene {
  explicit Scene(const std::vector<std::int16_t>& samples,
                 std::vector<int> lengths = {4, 6, 8, 16, 32, 64, 128, 256, 512})
      : signal(samples.data(), static_cast<int>(samples.size())), sums(signal, lengths) {
    sums.EnsureUpTo(signal.Count() + WorkingSignal::kTail);
  }
  WorkingSignal signal;
  WindowSums sums;
};

#ifdef __SIZEOF_INT128__
// L x den x E*, exactly: P den - num^2 (den > 0), and den itself.
struct Exact {
  __int128 scaled;
  __int128 den;
  __int128 P;
  std::int64_t L;
  double Value() const {
    return den == 0 ? static_cast<double>(P) / static_cast<double>(L)
                    : static_cast<double>(scaled) / static_cast<double>(den) / static_cast<double>(L);
  }
};

Exact ExactBound(const Scene& s, int p, int length, int d) {
  const WindowSums::Rows rows = s.sums.RowsFor(length);
  const std::int64_t L = length;
  const std::int64_t Sr = rows.sum[p + length - 1];
  const auto Qr = static_cast<std::int64_t>(rows.squares[p + length - 1]);
  const std::int64_t Sd = rows.sum[p + length - d - 2];
  const auto Qd = static_cast<std::int64_t>(rows.squares[p + length - d - 2]);
  const std::int64_t sigma = CrossSum(s.signal.At(p), s.signal.At(p - d - 1), length);
  const __int128 den = static_cast<__int128>(L) * Qd - static_cast<__int128>(Sd) * Sd;
  const __int128 num = static_cast<__int128>(L) * sigma - static_cast<__int128>(Sr) * Sd;
  const __int128 P = static_cast<__int128>(L) * Qr - static_cast<__int128>(Sr) * Sr;
  return Exact{P * den - num * num, den, P, L};
}
#endif

// Runs every kernel on the 16 distances from firstDistance with threshold t
// and checks the promises of the bound lane by lane. Returns the lanes kept.
template <class Quantiser>
std::uint32_t CheckBatch(const Scene& s, int p, int length, int firstDistance, double t, const Quantiser& q) {
  const BlockWindow w = MakeWindow(s.sums, p, length);
  BatchInput in = fast_search::MakeInput(s.signal, w);
  in.firstDistance = firstDistance;
  const double margin = lower_bound::Margin(length, q.MaxContrast(), q.MaxBrightness());
  in.bound = lower_bound::Constant(w, t, margin);
  double plainSigma[kBatchLanes];
  const std::uint32_t kept = KernelFor(KernelKind::Plain)(in, plainSigma);
  for (KernelKind kind : RunnableKernels()) {
    double sigma[kBatchLanes];
    EXPECT_EQ(KernelFor(kind)(in, sigma), kept) << KernelName(kind);
    for (int i = 0; i < kBatchLanes; ++i)
      EXPECT_EQ(sigma[i], plainSigma[i]) << KernelName(kind) << " lane " << i;
  }
  ErrorNotice notice;
  for (int lane = 0; lane < kBatchLanes; ++lane) {
    const int d = firstDistance + kBatchLanes - 1 - lane;
    const std::int64_t exactSigma = CrossSum(s.signal.At(p), s.signal.At(p - d - 1), length);
    EXPECT_EQ(plainSigma[lane], static_cast<double>(exactSigma)) << "lane " << lane;
    if (kept & (1u << lane)) continue;
    const SearchResult r = fast_search::Evaluate(w, in, lane, plainSigma, q, notice);
    EXPECT_GE(r.error, t) << "a rejected candidate could pass: d " << d;
    EXPECT_GE(r.error, 0) << "a rejected candidate had a negative error: d " << d;
  }
  return kept;
}

} // namespace

TEST(LowerBound, KernelsAgreeOnExtremeSignals) {
  std::string kernels;
  for (KernelKind kind : RunnableKernels())
    kernels += std::string(" ") + KernelName(kind);
  std::printf("kernels of this processor:%s\n", kernels.c_str());
  for (Stress kind : {Stress::ConstantLowest, Stress::Alternating, Stress::Clipped, Stress::Noise, Stress::Impulses}) {
    SCOPED_TRACE(StressName(kind));
    const Scene s(MakeStress(kind, 1200, 5));
    for (int length : {4, 6, 8, 16, 32, 64, 128, 256, 512})
      for (int p : {0, 3, 500})
        for (int d : {length / 2, 100, 1000 - 15, 8192 - 16})
          for (double t : {0.0, 1e4 * length, 1e12})
            CheckBatch(s, p, length, d, t, QuantiserB{});
  }
  // All -32768 against all -32768: every pair sum is 2^31.
  const Scene lowest(MakeStress(Stress::ConstantLowest, 1200));
  const BlockWindow w = MakeWindow(lowest.sums, 600, 512);
  BatchInput in = fast_search::MakeInput(lowest.signal, w);
  in.firstDistance = 16;
  for (KernelKind kind : RunnableKernels()) {
    double sigma[kBatchLanes];
    KernelFor(kind)(in, sigma);
    EXPECT_EQ(sigma[0], 512.0 * 1073741824.0) << KernelName(kind);
  }
}

#ifdef __SIZEOF_INT128__
// Thresholds placed at the exact E* of candidates: just below it the bound may
// reject, at or above it never; and clearly below (by more than the margin)
// it must reject, so the skipping really happens.
TEST(LowerBound, ThresholdsAroundTheExactLeastError) {
  std::mt19937 random(11);
  std::vector<std::int16_t> samples(3000);
  // Smooth material with a little noise: errors of every size near a threshold.
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] =
        static_cast<std::int16_t>(8000 * std::sin(i * 0.05) + std::uniform_int_distribution<int>(-60, 60)(random));
  // A perfect affine copy (contrast 2, brightness 100) and a constant source.
  for (int j = 0; j < 64; ++j)
    samples[2000 + j] = static_cast<std::int16_t>(samples[1500 + j] + 100);
  for (int j = 0; j < 64; ++j)
    samples[1200 + j] = 777;
  const Scene s(samples);
  const QuantiserB q;
  const TkwBlockEncoderV1::Quantisers wideA{QuantiserA(16, 65535), QuantiserA(16, 65535)};
  int rejectedNearThreshold = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const int length = std::array<int, 6>{6, 8, 16, 32, 64, 128}[trial % 6];
    const int p = std::uniform_int_distribution<int>(1000, 2700)(random);
    const int d = std::uniform_int_distribution<int>(length / 2, 1008)(random);
    const Exact e = ExactBound(s, p, length, d + 15); // lane 0
    const double eStar = e.Value();
    const double margin = lower_bound::Margin(length, QuantiserB::kMaxContrast, QuantiserB::kMaxBrightness);
    for (double t : {eStar * (1 + 1e-12), eStar, eStar * (1 - 1e-12), eStar - margin - 2, eStar - 2 * margin - 4}) {
      if (t < 0) continue;
      const std::uint32_t kept = CheckBatch(s, p, length, d, t, q);
      CheckBatch(s, p, length, d, t, wideA);
      if (t >= eStar) {
        EXPECT_TRUE(kept & 1u) << "E* " << eStar << " below t " << t;
      }
      if (t <= eStar - 2 * margin - 4) {
        EXPECT_FALSE(kept & 1u) << "E* " << eStar << " clearly above t " << t;
        ++rejectedNearThreshold;
      }
    }
  }
  EXPECT_GT(rejectedNearThreshold, 100);

  // The perfect fit: E* = 0 is never rejected, even with a threshold of 0.
  const Exact perfect = ExactBound(s, 2000, 64, 499);
  EXPECT_EQ(perfect.scaled, 0);
  EXPECT_TRUE(CheckBatch(s, 2000, 64, 499 - 15, 0, q) & 1u);
  // The constant source (den = 0): E* = P / L, rejected exactly when clearly above.
  const Exact constant = ExactBound(s, 1500, 32, 1500 - 1200 - 1 - 10);
  ASSERT_EQ(constant.den, 0);
  const double margin32 = lower_bound::Margin(32, QuantiserB::kMaxContrast, QuantiserB::kMaxBrightness);
  EXPECT_FALSE(CheckBatch(s, 1500, 32, 1500 - 1200 - 11 - 15, constant.Value() - margin32 - 2, q) & 1u);
  EXPECT_TRUE(CheckBatch(s, 1500, 32, 1500 - 1200 - 11 - 15, constant.Value(), q) & 1u);
}
#endif
