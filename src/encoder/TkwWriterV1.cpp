#include "encoder/TkwWriterV1.h"

#include "encoder/TkwBlockEncoderV1.h"
#include "wave/RWaveFile.h"

void TkwWriterV1::SeekData(const RWaveFile& wave, RFile& output, std::uint32_t entries) {
  SeekPastHeader(wave, output, tkw::kHeaderSizeV1, entries);
}

void TkwWriterV1::EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                              std::uint64_t done) {
  WorkingSignal signal(samples, count, context_.search.workspace);
  TkwBlockEncoderV1 encoder(context_.settings, signal, context_.notice, context_.search);
  RunChunkLoop(encoder, signal, writer, total, done);
}

TkwHeaderValues TkwWriterV1::HeaderValues(const RWaveFile& wave) const {
  const EncoderSettings& s = context_.settings;
  TkwHeaderValues header =
      MakeTkwHeaderValues(1, wave.frames, wave.sampleRate, static_cast<std::uint8_t>(wave.channels));
  header.contrastLimit = static_cast<std::uint16_t>(s.MaxContrast);
  header.brightnessLimit = static_cast<std::uint16_t>(s.MaxBrightness);
  header.contrastBits = static_cast<std::uint8_t>(s.ContrastBits);
  header.brightnessBits = static_cast<std::uint8_t>(s.BrightnessBits);
  header.offsetBits = static_cast<std::uint8_t>(s.DestBits);
  return header;
}
