// A lower bound of the squared error of every coding of one candidate, used
// to skip the quantisation of candidates that cannot be accepted.
//
// Notation (all of one block at p of length L and one source at distance d):
// Sr, Qr, Sd, Qd the sums and sums of squares, Sigma the cross sum, all exact
// integers with |Sr|, |Sd| <= L 2^15, Qr, Qd, |Sigma| <= L 2^30.
//
// 1. For any real contrast g and brightness b the squared error is
//      f(g, b) = g^2 Qd + 2 g b Sd - 2 g Sigma + L b^2 - 2 b Sr + Qr
//    and its least value over all reals is E*:
//      den = L Qd - Sd^2 >= 0, num = L Sigma - Sr Sd, P = L Qr - Sr^2,
//      E* = (P - num^2 / den) / L   for den > 0,
//      E* = P / L                   for den = 0, where the search takes the
//    contrast 0 exactly (both quantisers code 0 as the value 0.0) and f(0, b)
//    >= P / L. den, num and P are exact in double (below 2^53).
// 2. The search computes E as the written formula in double with the coded
//    g and b, |g| <= G and |b| <= B (the largest code values). Each of the six
//    terms takes at most two roundings, the sum five, so
//      |E - f(g, b)| <= gamma_7 (|terms|) <= 7u/(1-7u) L C < 2^-50 L C,
//      C = G^2 2^30 + 2 G B 2^15 + 2 G 2^30 + B^2 + 2 B 2^15 + 2^30,
//    u = 2^-53. The margin m = 2^-48 L C is four times that, which also covers
//    the rounding of m itself.
// 3. For a threshold t >= 0 let K = P - ceil(fl(L fl(t + m))) - 1; then
//    K <= P - L (t + m) (the roundings of t + m and of the product are below
//    1 while t + m <= Qr <= 2^39). A candidate is rejected when K >= 0 and
//    either den = 0, or fl(K den) >= fl(fl(num^2) (1 + 2^-50)). The latter
//    implies K den >= num^2 (1 + 2^-50)(1 - u)^2 / (1 + u) > num^2, so in
//    both cases E* >= (P - K) / L >= t + m and, by 2, E >= t.
// 4. So a rejected candidate has a computed error of at least t >= 0: with
//    t = T it is not acceptable (version 2 accepts T > E), and it is never
//    negative, so the "Error2 < 0" notice is never lost. Versions 1 and 3 use
//    t = min(max(best, 0), T): a rejected candidate either could not beat the
//    best so far (E >= best) or could only give a result that is not
//    acceptable (E >= T), so the result, whenever it is acceptable, is the
//    same record, and it is acceptable exactly when it was.
#pragma once

#include "encoder/CandidateEvaluator.h"

#include <cmath>

namespace lower_bound {

// m of step 2 for blocks of `length` and codes of at most these magnitudes.
inline double Margin(int length, double maxContrast, double maxBrightness) {
  const double G = maxContrast;
  const double B = maxBrightness;
  const double two15 = 32768.0;
  const double two30 = 1073741824.0;
  const double C = G * G * two30 + 2 * G * B * two15 + 2 * G * two30 + B * B + 2 * B * two15 + two30;
  return 0x1p-48 * length * C;
}

// K of step 3 for a threshold t (with its margin); below 0 when no candidate
// can be rejected.
inline double Constant(const BlockWindow& w, double threshold, double margin) {
  const double limit = threshold + margin;
  // E* <= P / L <= Qr: nothing can reach a limit above Qr (which also keeps
  // every number below in the exact range).
  if (!(limit <= w.Qr)) return -1;
  const double L = w.length;
  const double P = L * w.Qr - w.Sr * w.Sr;
  return P - std::ceil(L * limit) - 1;
}

} // namespace lower_bound
