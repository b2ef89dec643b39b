#include "encoder/TkwWriterV2.h"

#include "encoder/EncodeFailures.h"
#include "encoder/TkwBlockEncoderV2.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "wave/RWaveFile.h"

void TkwWriterV2::SeekData(const RWaveFile& wave, RFile& output, std::uint32_t entries) {
  if (wave.bitsPerSample != 16) throw EC_Not16BitWave{};
  if (output.Seek(kHeaderSize + 8 * std::int64_t{entries}) < 0) throw EC_OutputWriteFailed{plat::lastError()};
}

void TkwWriterV2::EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                              std::uint64_t done) {
  WorkingSignal signal(samples, count, context_.search.workspace);
  TkwBlockEncoderV2 encoder(context_.settings, signal, context_.notice, context_.search);
  RunChunkLoop(encoder, signal, writer, total, done);
}

void TkwWriterV2::WriteHeader(const RWaveFile& wave, RFile& output, const std::vector<SectorEntry>& table) {
  std::vector<unsigned char> bytes(kHeaderSize, 0);
  unsigned char* h = bytes.data();
  h[0] = 'T', h[1] = 'k', h[2] = 'w', h[3] = '$';
  StoreLe32(h + 4, DeclaredSize(table));
  StoreLe32(h + 8, FormatVersion());
  StoreLe32(h + 12, wave.frames);
  StoreLe32(h + 16, wave.sampleRate);
  StoreLe32(h + 20, static_cast<std::uint32_t>(table.size()));
  h[24] = static_cast<unsigned char>(wave.channels);
  h[25] = static_cast<unsigned char>(context_.settings.DestBits);
  AppendTable(bytes, table);
  if (output.Seek(0) < 0) throw EC_OutputWriteFailed{plat::lastError()};
  WriteAll(output, bytes);
}
