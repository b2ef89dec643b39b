// Version 1 files ("Tkw@"): the quantiser settings travel in the header.
#pragma once

#include "encoder/TkwWriter.h"

class TkwWriterV1 : public TkwWriter {
public:
  using TkwWriter::TkwWriter;

  void SeekData(const RWaveFile& wave, RFile& output, std::uint32_t entries) override;
  void EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                   std::uint64_t done) override;

protected:
  TkwHeaderValues HeaderValues(const RWaveFile& wave) const override;
};
