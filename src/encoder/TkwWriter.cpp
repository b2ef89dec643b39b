#include "encoder/TkwWriter.h"

#include "encoder/BlockEncoder.h"
#include "encoder/EncodeFailures.h"
#include "support/ByteOrder.h"
#include "support/RFile.h"

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

std::uint32_t TkwWriter::DeclaredSize(const std::vector<SectorEntry>& table) {
  const std::uint32_t data = table.empty() ? 0 : table.back().offset + table.back().size;
  return 28 + 8 * static_cast<std::uint32_t>(table.size()) + data;
}

void TkwWriter::AppendTable(std::vector<unsigned char>& bytes, const std::vector<SectorEntry>& table) {
  for (const SectorEntry& entry : table) {
    unsigned char record[8];
    StoreLe32(record, entry.offset);
    StoreLe32(record + 4, entry.size);
    bytes.insert(bytes.end(), record, record + 8);
  }
}
