// The least-squares fit of one candidate source to a block, with the codes of
// a quantiser, and the squared error of the coded block. Every formula is
// evaluated in double in the written order so that all builds decide alike.
#pragma once

#include "encoder/ErrorNotice.h"
#include "encoder/SearchResult.h"
#include "encoder/WindowSums.h"
#include "encoder/WorkingSignal.h"

#include <cstdint>

// Sum of x[a + j] * x[b + j] for j < length: each product fits 32 bits and the
// total stays below 2^40, so an integer sum equals the floating-point one.
inline std::int64_t CrossSum(const std::int16_t* a, const std::int16_t* b, int length) {
  std::int64_t sum = 0;
  for (int j = 0; j < length; ++j)
    sum += static_cast<std::int32_t>(a[j]) * static_cast<std::int32_t>(b[j]);
  return sum;
}

// The block at p of length L and its sums; the candidate loop varies d only.
struct BlockWindow {
  int p;
  int length;
  WindowSums::Rows rows;
  double Sr;
  double Qr;
};

inline BlockWindow MakeWindow(const WindowSums& sums, int p, int length) {
  const WindowSums::Rows rows = sums.RowsFor(length);
  const int last = p + length - 1;
  return BlockWindow{p, length, rows, static_cast<double>(rows.sum[last]), rows.squares[last]};
}

// The fit of one candidate whose source sums and cross sum are known; sigma
// is only read when den is not 0.
template <class Quantiser>
SearchResult FitCandidate(const BlockWindow& w, int d, double Sd, double Qd, double sigmaIfNeeded, const Quantiser& q,
                          ErrorNotice& notice) {
  const double L = w.length;
  const double den = L * Qd - Sd * Sd;
  double sigma = 0;
  double gammaStar = 0;
  if (den != 0) {
    sigma = sigmaIfNeeded;
    gammaStar = (L * sigma - w.Sr * Sd) / den;
  }
  SearchResult r;
  r.distance = d;
  r.contrastCode = q.ContrastCode(gammaStar, &r.contrast);
  const double gamma = r.contrast;
  const double betaStar = (w.Sr - gamma * Sd) / L;
  r.brightnessCode = q.BrightnessCode(betaStar, &r.brightness);
  const double beta = r.brightness;
  r.error = gamma * gamma * Qd + 2 * gamma * beta * Sd - 2 * gamma * sigma + L * (beta * beta) - 2 * beta * w.Sr + w.Qr;
  if (r.error < 0) notice.NegativeError();
  return r;
}

template <class Quantiser>
SearchResult EvaluateCandidate(const WorkingSignal& x, const BlockWindow& w, int d, const Quantiser& q,
                               ErrorNotice& notice) {
  const int sourceLast = w.p + w.length - d - 2;
  const double Sd = w.rows.sum[sourceLast];
  const double Qd = w.rows.squares[sourceLast];
  const double den = w.length * Qd - Sd * Sd;
  const double sigma = den != 0 ? static_cast<double>(CrossSum(x.At(w.p), x.At(w.p - d - 1), w.length)) : 0;
  return FitCandidate(w, d, Sd, Qd, sigma, q, notice);
}

// Best fit over every distance from L/2 to N - 1 (smaller distance on ties);
// a silent block is the zero record.
template <class Quantiser>
SearchResult BestFit(const WorkingSignal& x, const BlockWindow& w, int distances, const Quantiser& q,
                     ErrorNotice& notice) {
  SearchResult best;
  if (w.Sr == 0 && w.Qr == 0) return best;
  best.error = w.Qr;
  for (int d = w.length / 2; d < distances; ++d) {
    const SearchResult candidate = EvaluateCandidate(x, w, d, q, notice);
    if (candidate.error < best.error) best = candidate;
  }
  return best;
}
