// Version 3 blocks: the adaptive best-fit search of version 1 over the
// version 2 lengths and codes, with a flag bit in every copy block. The flag
// is always 0, which means "rebuilt like any copy block"; the format version
// word 3 in the header tells decoders to read it.
#pragma once

#include "encoder/AdaptiveMatcher.h"
#include "encoder/BlockEncoder.h"
#include "encoder/EncoderSettings.h"
#include "encoder/QuantiserB.h"

class TkwBlockEncoderV3 : public BlockEncoder {
public:
  TkwBlockEncoderV3(const EncoderSettings& settings, WorkingSignal& signal, ErrorNotice& notice,
                    const SearchOptions& options = {});

  bool Match(int p) override;
  void WriteFields(TkwBitWriter& writer) const override;
  void Reconstruct(int p) override;
  int BlockLength() const override { return matcher_.Length(); }
  int WriteLiteral(TkwBitWriter& writer, int p) override;

  const SearchResult& Result() const { return matcher_.Result(); }

private:
  WorkingSignal& signal_;
  int destBits_;
  std::uint32_t flag_ = 0;
  WindowSums sums_;
  AdaptiveMatcher<QuantiserB> matcher_;
};
