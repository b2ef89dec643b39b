#include "encoder/TkwWriterV1.h"

#include "encoder/EncodeFailures.h"
#include "encoder/TkwBlockEncoderV1.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "wave/RWaveFile.h"

void TkwWriterV1::SeekData(const RWaveFile& wave, RFile& output, std::uint32_t entries) {
  if (wave.bitsPerSample != 16) throw EC_Not16BitWave{};
  if (output.Seek(kHeaderSize + 8 * std::int64_t{entries}) < 0) throw EC_OutputWriteFailed{plat::lastError()};
}

void TkwWriterV1::EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                              std::uint64_t done) {
  WorkingSignal signal(samples, count, context_.search.workspace);
  TkwBlockEncoderV1 encoder(context_.settings, signal, context_.notice, context_.search);
  RunChunkLoop(encoder, signal, writer, total, done);
}

void TkwWriterV1::WriteHeader(const RWaveFile& wave, RFile& output, const std::vector<SectorEntry>& table) {
  const EncoderSettings& s = context_.settings;
  std::vector<unsigned char> bytes(kHeaderSize, 0);
  unsigned char* h = bytes.data();
  h[0] = 'T', h[1] = 'k', h[2] = 'w', h[3] = '@';
  StoreLe32(h + 4, DeclaredSize(table));
  StoreLe32(h + 8, wave.frames);
  StoreLe32(h + 12, wave.sampleRate);
  StoreLe32(h + 16, static_cast<std::uint32_t>(table.size()));
  StoreLe16(h + 20, static_cast<std::uint16_t>(s.MaxContrast));
  StoreLe16(h + 22, static_cast<std::uint16_t>(s.MaxBrightness));
  h[24] = static_cast<unsigned char>(wave.channels);
  h[25] = static_cast<unsigned char>(s.ContrastBits);
  h[26] = static_cast<unsigned char>(s.BrightnessBits);
  h[27] = static_cast<unsigned char>(s.DestBits);
  StoreLe32(h + 28, 1);
  AppendTable(bytes, table);
  if (output.Seek(0) < 0) throw EC_OutputWriteFailed{plat::lastError()};
  WriteAll(output, bytes);
}
