#include "encoder/TkwWriterV2.h"

#include "encoder/TkwBlockEncoderV2.h"
#include "wave/RWaveFile.h"

void TkwWriterV2::SeekData(const RWaveFile& wave, RFile& output, std::uint32_t entries) {
  SeekPastHeader(wave, output, tkw::kHeaderSizeV2, entries);
}

void TkwWriterV2::EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                              std::uint64_t done) {
  WorkingSignal signal(samples, count, context_.search.workspace);
  TkwBlockEncoderV2 encoder(context_.settings, signal, context_.notice, context_.search);
  RunChunkLoop(encoder, signal, writer, total, done);
}

TkwHeaderValues TkwWriterV2::HeaderValues(const RWaveFile& wave) const {
  TkwHeaderValues header =
      MakeTkwHeaderValues(FormatVersion(), wave.frames, wave.sampleRate, static_cast<std::uint8_t>(wave.channels));
  header.offsetBits = static_cast<std::uint8_t>(context_.settings.DestBits);
  return header;
}
