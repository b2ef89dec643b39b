// A sound decoder: turns a sound's sector table and chunks into interleaved
// 16-bit frames on request, sector after sector, and starts again at frame 0
// after the last one. Two modes share this interface and give identical
// frames and statuses for any sequence of requests:
//   TkwSectorDecoder  decodes a whole sector when its first frame is needed;
//   TkwStreamDecoder  decodes only as far as each request needs.
// Read() expects the source positioned at the chunk of NextEntry() whenever
// one is left (the decode handle does that) and reads the chunks it needs
// back to back from there.
#pragma once

#include "decoder/TkwBlockDecoder.h"
#include "format/TkwHeader.h"
#include "format/TkwSectorTable.h"

#include <cstdint>
#include <memory>
#include <vector>

class ByteSource;

class TkwDecoder {
public:
  static constexpr std::int32_t kStatusOk = 0;
  static constexpr std::int32_t kStatusEnd = 13; // the last frame was delivered; rewound to frame 0

  virtual ~TkwDecoder() = default;

  // Takes the header values and table (already checked) and the block
  // decoder, then sets the state "no frames decoded" at frame 0.
  void Init(const TkwHeaderValues& header, std::vector<TkwSectorEntry> table,
            std::unique_ptr<TkwBlockDecoder> blockDecoder);

  // Delivers `frames` frames into `destination` (frames × channels samples).
  // Returns kStatusEnd when the sound's last frame was delivered in this call:
  // the rest of the request is then zero samples and the decoder has rewound.
  std::int32_t Read(ByteSource& source, std::int16_t* destination, std::uint32_t frames, std::uint32_t* delivered);
  // Delivers only frames already decoded, from the current position; rewinds
  // when that uses up the last sector. Never reads the source.
  std::uint32_t ReadDecoded(std::int16_t* destination, std::uint32_t frames);
  // The next read starts at the first frame of `sector` (0 ≤ sector < SectorCount()).
  void SelectSector(std::uint32_t sector);
  void Rewind();

  std::uint32_t Length() const { return header_.length; }
  std::int32_t Channels() const { return header_.channels; }
  std::uint32_t SampleRate() const { return header_.sampleRate; }
  std::uint32_t SectorCount() const { return header_.SectorCount(); }
  std::uint32_t EntryCount() const { return header_.entryCount; }
  const TkwHeaderValues& Header() const { return header_; }
  const std::vector<TkwSectorEntry>& Table() const { return table_; }
  const TkwBlockDecoder& BlockDecoder() const { return *blockDecoder_; }
  // Index of the first table entry not yet read.
  std::uint32_t NextEntry() const { return nextEntry_; }
  bool EntriesLeft() const { return nextEntry_ < header_.entryCount; }

protected:
  // Frames of the current sector not yet delivered.
  virtual std::int64_t FramesLeftInSector() const = 0;
  // Copies `frames` (≤ FramesLeftInSector()) interleaved frames and advances.
  virtual void Deliver(std::int16_t* destination, std::int64_t frames) = 0;
  // Frames past the position that are decoded already (≤ FramesLeftInSector()).
  virtual std::int64_t FramesDecodedAhead() const = 0;
  // Reads the next sector's chunks, one entry per channel (the source is at
  // the first of them), and makes it the current sector.
  virtual void StartSector(ByteSource& source, const TkwSectorEntry* entries, std::int32_t sectorFrames) = 0;
  // Forgets any decoded frames: the current sector is used up.
  virtual void Discard() = 0;
  virtual void Prepare() = 0; // allocate the mode's buffers

  const TkwBlockDecoder& Blocks() const { return *blockDecoder_; }
  // Frames of the longest sector and bytes of the largest chunk of the
  // sound: what the mode's buffers must hold.
  std::int32_t LongestSector() const;
  std::uint32_t LargestChunk() const;

private:
  bool AtEnd() const { return !EntriesLeft() && FramesLeftInSector() == 0; }
  void BeginNextSector(ByteSource& source);

  TkwHeaderValues header_;
  std::vector<TkwSectorEntry> table_;
  std::unique_ptr<TkwBlockDecoder> blockDecoder_;
  std::uint32_t nextEntry_ = 0;
  std::int64_t remaining_ = 0;    // frames from the next sector to be started to the end
  std::int32_t sectorFrames_ = 0; // frames of that sector
};
