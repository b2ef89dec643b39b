// One codec version's way of writing a .tkw file: where the data area starts,
// how a chunk is encoded and what the header holds. The driver runs the same
// pipeline with any of them.
#pragma once

#include "encoder/BlockEncoder.h"
#include "encoder/EncoderCallbacks.h"
#include "encoder/EncoderSettings.h"
#include "encoder/ErrorNotice.h"
#include "encoder/WorkingSignal.h"
#include "format/TkwBitWriter.h"
#include "format/TkwFormat.h"
#include "format/TkwHeader.h"
#include "format/TkwSectorTable.h"

#include <cstdint>
#include <functional>
#include <vector>

class RFile;
class RWaveFile;
class BlockEncoder;

// Sees each chunk's working signal once it is encoded: exactly what the
// decoder will reproduce.
using ChunkObserver = std::function<void(const WorkingSignal&)>;

// The batch kernel of the processor with fresh memory for every chunk.
SearchOptions DefaultSearch();

// What the writers read while a file is encoded.
struct EncodeContext {
  const EncoderSettings& settings;
  EncoderCallbacks& callbacks;
  ErrorNotice& notice;
  const ChunkObserver* observer = nullptr;
  // The fastest search this processor runs, unless told otherwise.
  SearchOptions search = DefaultSearch();
};

class TkwWriter {
public:
  explicit TkwWriter(EncodeContext& context) : context_(context) {}
  virtual ~TkwWriter() = default;

  virtual std::uint32_t SectorLength() const { return tkw::kSectorLength; }
  // Refuses anything but 16-bit samples, then positions the output at the
  // data area for `entries` sector table entries.
  virtual void SeekData(const RWaveFile& wave, RFile& output, std::uint32_t entries) = 0;
  virtual void EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                           std::uint64_t done) = 0;
  // Writes the header and the sector table at the start of the output.
  void WriteHeader(const RWaveFile& wave, RFile& output, const TkwSectorTable& table);

  // Encodes one chunk and writes it at the output's position; returns its bytes.
  std::uint32_t WriteChunk(RFile& output, const std::int16_t* samples, int count, std::uint64_t total,
                           std::uint64_t done);

  // Writes every byte or throws EC_OutputWriteFailed.
  static void WriteAll(RFile& output, const std::vector<unsigned char>& bytes);

protected:
  // The chunk loop shared by every version.
  void RunChunkLoop(BlockEncoder& encoder, WorkingSignal& signal, TkwBitWriter& writer, std::uint64_t total,
                    std::uint64_t done);
  // The header values of the version, for the wave being encoded.
  virtual TkwHeaderValues HeaderValues(const RWaveFile& wave) const = 0;
  // Refuses anything but 16-bit samples, then positions the output after a
  // header of `headerSize` bytes and `entries` sector table entries.
  static void SeekPastHeader(const RWaveFile& wave, RFile& output, std::uint32_t headerSize, std::uint32_t entries);

  EncodeContext& context_;
};
