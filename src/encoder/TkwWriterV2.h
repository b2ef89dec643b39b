// Version 2 files ("Tkw$"): fixed codes; the header names the format version.
#pragma once

#include "encoder/TkwWriter.h"
#include "format/TkwFormatVersion.h"

class TkwWriterV2 : public TkwWriter {
public:
  using TkwWriter::TkwWriter;

  void SeekData(const RWaveFile& wave, RFile& output, std::uint32_t entries) override;
  void EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                   std::uint64_t done) override;

protected:
  TkwHeaderValues HeaderValues(const RWaveFile& wave) const override;
  // The word at offset 8: what decoders need to know about the block syntax.
  virtual std::uint32_t FormatVersion() const { return TkwFormatVersion::kV2; }
};
