// The searches with a batch kernel and the lower bound: the same candidates
// in the same order as the plain loops, except those the bound proves
// irrelevant (LowerBound.h), so the results are the same records.
#pragma once

#include "encoder/CandidateEvaluator.h"
#include "encoder/CandidateKernels.h"
#include "encoder/LowerBound.h"
#include "encoder/SearchResult.h"

#include <algorithm>
#include <bit>

namespace fast_search {

inline BatchInput MakeInput(const WorkingSignal& x, const BlockWindow& w) {
  return BatchInput{x.At(0), w.p, w.length, 0, w.rows.sum, w.rows.squares, w.Sr, -1};
}

// The lanes whose distance is below `distances`.
inline std::uint32_t LanesBelow(int firstDistance, int distances) {
  const int count = distances - firstDistance;
  if (count >= kBatchLanes) return 0xFFFF;
  return 0xFFFFu & ~((1u << (kBatchLanes - count)) - 1);
}

// Takes the lane of the smallest distance among `lanes` (highest bit first).
inline int TakeNearest(std::uint32_t& lanes) {
  const int lane = 31 - std::countl_zero(lanes);
  lanes &= ~(1u << lane);
  return lane;
}

template <class Quantiser>
SearchResult Evaluate(const BlockWindow& w, const BatchInput& in, int lane, const double* sigma, const Quantiser& q,
                      ErrorNotice& notice) {
  const int d = in.firstDistance + kBatchLanes - 1 - lane;
  const int sourceLast = w.p + w.length - d - 2;
  return FitCandidate(w, d, w.rows.sum[sourceLast], w.rows.squares[sourceLast], sigma[lane], q, notice);
}

// BestFit of CandidateEvaluator.h. `threshold` is T(L): the result matters
// only when it is acceptable, so candidates that can reach neither the best
// so far nor T are skipped.
template <class Quantiser>
SearchResult BestFit(const WorkingSignal& x, const BlockWindow& w, int distances, const Quantiser& q,
                     ErrorNotice& notice, BatchKernel kernel, double threshold, double margin) {
  SearchResult best;
  if (w.Sr == 0 && w.Qr == 0) return best;
  best.error = w.Qr;
  BatchInput in = MakeInput(x, w);
  double sigma[kBatchLanes];
  auto boundFor = [&](double error) {
    return lower_bound::Constant(w, std::min(std::max(error, 0.0), threshold), margin);
  };
  double bound = boundFor(best.error);
  for (int d = w.length / 2; d < distances; d += kBatchLanes) {
    in.firstDistance = d;
    in.bound = bound;
    std::uint32_t lanes = kernel(in, sigma) & LanesBelow(d, distances);
    while (lanes) {
      const int lane = TakeNearest(lanes);
      // A better result within the batch tightens the bound for the lanes
      // after it: the same test, with the best so far.
      if (bound != in.bound) {
        const int sourceLast = w.p + w.length - (d + kBatchLanes - 1 - lane) - 2;
        if (bound >= 0 && !kernel_detail::MayPass(w.length, w.rows.sum[sourceLast], w.rows.squares[sourceLast],
                                                  sigma[lane], w.Sr, bound))
          continue;
      }
      const SearchResult candidate = Evaluate(w, in, lane, sigma, q, notice);
      if (candidate.error < best.error) {
        best = candidate;
        bound = boundFor(best.error);
      }
    }
  }
  return best;
}

} // namespace fast_search
