#include "encoder/TkwWriter.h"

#include "encoder/BlockEncoder.h"
#include "encoder/EncodeFailures.h"
#include "format/TkwFileLayout.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "wave/RWaveFile.h"

SearchOptions DefaultSearch() { return SearchOptions{KernelFor(BestKernel()), nullptr}; }

std::uint32_t TkwWriter::WriteChunk(RFile& output, const std::int16_t* samples, int count, std::uint64_t total,
                                    std::uint64_t done) {
  TkwBitWriter writer;
  EncodeChunk(writer, samples, count, total, done);
  writer.Flush();
  const std::vector<unsigned char> bytes = writer.Bytes();
  WriteAll(output, bytes);
  return static_cast<std::uint32_t>(bytes.size());
}

void TkwWriter::WriteAll(RFile& output, const std::vector<unsigned char>& bytes) {
  const auto size = static_cast<std::uint32_t>(bytes.size());
  if (output.Write(bytes.data(), size) != size) throw EC_OutputWriteFailed{plat::lastError()};
}

void TkwWriter::RunChunkLoop(BlockEncoder& encoder, WorkingSignal& signal, TkwBitWriter& writer, std::uint64_t total,
                             std::uint64_t done) {
  const int count = signal.Count();
  for (int p = 0; p < count;) {
    context_.callbacks.OnProgress(total, done + static_cast<std::uint64_t>(p));
    if (encoder.Match(p)) {
      writer.Put(1, 1);
      encoder.WriteFields(writer);
      encoder.Reconstruct(p);
      p += encoder.BlockLength();
    } else {
      writer.Put(0, 1);
      p += encoder.WriteLiteral(writer, p);
    }
  }
  if (context_.observer && *context_.observer) (*context_.observer)(signal);
}

void TkwWriter::SeekPastHeader(const RWaveFile& wave, RFile& output, std::uint32_t headerSize, std::uint32_t entries) {
  if (wave.bitsPerSample != 16) throw EC_Not16BitWave{};
  const std::int64_t dataOffset = headerSize + std::int64_t{tkw::kTableEntrySize} * entries;
  if (output.Seek(dataOffset) < 0) throw EC_OutputWriteFailed{plat::lastError()};
}

void TkwWriter::WriteHeader(const RWaveFile& wave, RFile& output, const TkwSectorTable& table) {
  TkwHeaderValues header = HeaderValues(wave);
  header.entryCount = static_cast<std::uint32_t>(table.size());
  const std::vector<unsigned char> bytes = TkwFileHeaderBytes(header, table);
  if (output.Seek(0) < 0) throw EC_OutputWriteFailed{plat::lastError()};
  WriteAll(output, bytes);
}
