// Version 3 files: the version 2 layout whose copy blocks carry a flag bit;
// the format version word 3 marks them so that decoders read that bit.
#pragma once

#include "encoder/TkwWriterV2.h"

class TkwWriterV3 : public TkwWriterV2 {
public:
  using TkwWriterV2::TkwWriterV2;

  void EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                   std::uint64_t done) override;

protected:
  std::uint32_t FormatVersion() const override { return TkwFormatVersion::kV3; }
};
