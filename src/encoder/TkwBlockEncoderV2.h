// Version 2 blocks: the size grows while the first acceptable distance is
// found (first fit, not best fit); fixed non-linear codes.
#pragma once

#include "encoder/BlockEncoder.h"
#include "encoder/CandidateEvaluator.h"
#include "encoder/EncoderSettings.h"
#include "encoder/ErrorNotice.h"
#include "encoder/SearchResult.h"
#include "encoder/WindowSums.h"

#include <array>

class TkwBlockEncoderV2 : public BlockEncoder {
public:
  TkwBlockEncoderV2(const EncoderSettings& settings, WorkingSignal& signal, ErrorNotice& notice,
                    const SearchOptions& options = {});

  bool Match(int p) override;
  void WriteFields(TkwBitWriter& writer) const override;
  void Reconstruct(int p) override;
  int BlockLength() const override;
  int WriteLiteral(TkwBitWriter& writer, int p) override;

  const SearchResult& Result() const { return result_; }
  int SizeIndex() const { return sizeIndex_; }

private:
  bool MatchPlain(int p);
  bool MatchFast(int p);
  // Sets the result's size index to r and returns the block window of that size.
  BlockWindow WindowAt(int p, int r);

  WorkingSignal& signal_;
  ErrorNotice& notice_;
  int destBits_;
  int distances_;
  int smallest_;
  std::int32_t maxError2_;
  WindowSums sums_;
  BatchKernel kernel_;
  std::array<double, 8> margins_{};
  SearchResult result_;
  int sizeIndex_ = 0;
};
