// The adaptive search of versions 1 and 3: start one step from the previous
// start toward the last outcome, grow while the best fit stays acceptable,
// otherwise shrink until it is. Sizes index a table of block lengths.
#pragma once

#include "encoder/CandidateEvaluator.h"
#include "encoder/FastSearch.h"

#include <array>
#include <cmath>
#include <vector>

template <class Quantiser> class AdaptiveMatcher {
public:
  struct Params {
    std::array<int, 10> lengthOf; // block length by size
    int minSize;
    int maxSize;
    int startSize;
    int distances;
    std::int32_t maxError2;
    BatchKernel kernel; // null: the plain search
  };

  AdaptiveMatcher(const WorkingSignal& signal, WindowSums& sums, const Params& params, Quantiser quantiser,
                  ErrorNotice& notice)
      : signal_(signal), sums_(sums), params_(params), quantiser_(quantiser), notice_(notice),
        current_(params.startSize), previousStart_(params.startSize) {
    for (int size = params.minSize; size <= params.maxSize; ++size)
      margins_[static_cast<std::size_t>(size)] = lower_bound::Margin(
          params.lengthOf[static_cast<std::size_t>(size)], quantiser.MaxContrast(), quantiser.MaxBrightness());
  }

  bool Match(int p) {
    int start = previousStart_;
    if (current_ < previousStart_ - 1)
      start = previousStart_ - 1;
    else if (current_ > previousStart_)
      start = previousStart_ + 1;
    previousStart_ = current_ = start;

    if (SearchAt(p, current_)) {
      for (;;) {
        const SearchResult kept = result_;
        ++current_;
        if (current_ > params_.maxSize) break;
        if (!SearchAt(p, current_)) {
          result_ = kept;
          break;
        }
      }
      --current_;
      return true;
    }
    for (;;) {
      --current_;
      if (current_ < params_.minSize) return false;
      if (SearchAt(p, current_)) return true;
    }
  }

  const SearchResult& Result() const { return result_; }
  int Size() const { return current_; }
  int Length() const { return params_.lengthOf[static_cast<std::size_t>(current_)]; }

private:
  bool SearchAt(int p, int size) {
    const int length = params_.lengthOf[static_cast<std::size_t>(size)];
    const double threshold = ErrorThreshold(length, params_.maxError2);
    if (!params_.kernel) {
      sums_.EnsureUpTo(p + length);
      result_ = BestFit(signal_, MakeWindow(sums_, p, length), params_.distances, quantiser_, notice_);
    } else {
      sums_.EnsureLength(length, p + length);
      result_ = fast_search::BestFit(signal_, MakeWindow(sums_, p, length), params_.distances, quantiser_, notice_,
                                     params_.kernel, threshold, margins_[static_cast<std::size_t>(size)]);
    }
    return threshold > std::fabs(result_.error);
  }

  const WorkingSignal& signal_;
  WindowSums& sums_;
  Params params_;
  Quantiser quantiser_;
  ErrorNotice& notice_;
  SearchResult result_;
  int current_;
  int previousStart_;
  std::array<double, 10> margins_{};
};
