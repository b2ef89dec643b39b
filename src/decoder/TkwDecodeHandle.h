// The object behind a decode handle: one sound in a file (a .tkw file, or a
// sound stored inside an archive), its decoder and the loop flag.
//
// Building a handle for a sound inside another file (an archive):
//
//   TkwHeaderValues header = TkwHeaderValues::FromV2Fields(entry16, codecVersion);
//                         // or TkwHeaderValues::FromV1Fields(entry20)
//   CheckTkwHeaderValues(header);                        // throws TKW_BadFormat
//   std::vector<TkwSectorEntry> table = ParseTkwSectorTable(bytes, header.entryCount);
//   CheckTkwSectorTable(header, table, fileSize - dataOffset); // chunks inside the file
//   std::unique_ptr<TkwBlockDecoder> prototype = MakeTkwBlockDecoder(header);
//   ...
//   auto handle = TkwDecodeHandle::Create(archivePath, dataOffset, header, table,
//                                         prototype->Clone(), flags);
//
// Check the header values before reading a table of entryCount × 8 bytes, and
// compare that size with the bytes left in the file before allocating it.
// Create() takes values that passed both checks (it repeats all but the
// file-size check and throws TKW_BadFormat); it opens the file by path
// (a failure shows the "Debug" message box and goes on: each read opens the
// file again and fails while it cannot), and the handle owns copies of
// everything, so it outlives
// whatever it was built from. The result reads exactly like a handle from
// Open() on a .tkw file with the same contents, in both modes.
#pragma once

#include "decoder/TkwDecoder.h"
#include "decoder/TkwHeader.h"
#include "support/RFile.h"

#include <cstdint>
#include <memory>
#include <vector>

// Open flags.
inline constexpr std::uint32_t kTkwOpenStream = 0x8000; // decode on demand
inline constexpr std::uint32_t kTkwOpenLoop = 0x4000;   // reads wrap and fill every request

// A struct, because the public header declares the opaque handle type so.
struct TkwDecodeHandle {
public:
  // Opens a .tkw file. Throws TKW_BadFormat for a file that is not a valid
  // sound (or no file of data at all), TKW_CannotOpen for a file of data that
  // does not open (no handle left, no access); the caller has checked that
  // the path exists and fits 499 bytes.
  static std::unique_ptr<TkwDecodeHandle> Open(const char* path, std::uint32_t flags);
  // A sound whose data area starts at `dataOffset` bytes into the file at
  // `path` (see above).
  static std::unique_ptr<TkwDecodeHandle> Create(const char* path, std::int64_t dataOffset,
                                                 const TkwHeaderValues& header, std::vector<TkwSectorEntry> table,
                                                 std::unique_ptr<TkwBlockDecoder> blockDecoder, std::uint32_t flags);

  // Reads `frames` interleaved frames, reopening the file by its path for the
  // call. Returns 0, or 13 when the end was reached without the loop flag.
  // When the file does not open, shows the "Debug" message box and throws
  // TKW_CannotOpen with nothing read and the position unchanged.
  std::int32_t Read(std::int16_t* buffer, std::uint32_t frames, std::uint32_t* delivered);
  // Frames already decoded only; never touches the file.
  std::uint32_t ReadPulse(std::int16_t* buffer, std::uint32_t frames);
  // False when the sector is out of range (the position is then unchanged).
  bool SetSector(std::int32_t sector);

  TkwDecoder& Decoder() { return *decoder_; }
  const TkwDecoder& Decoder() const { return *decoder_; }
  bool Loops() const { return loop_; }
  const char* Path() const { return file_.Name().c_str(); }
  std::int64_t DataOffset() const { return dataOffset_; }

private:
  explicit TkwDecodeHandle(std::uint32_t flags);
  std::int32_t ReadOnce(RFile& file, std::int16_t* buffer, std::uint32_t frames, std::uint32_t* delivered);

  RFile file_; // held open on the sound's file for the handle's life
  std::int64_t dataOffset_ = 0;
  std::unique_ptr<TkwDecoder> decoder_;
  bool loop_ = false;
};

// The message shown when a read cannot open the sound's file again.
inline constexpr const char* kTkwReopenFailedText = "ファイルハンドルのコピーに失敗しました";
inline constexpr const char* kTkwReopenFailedCaption = "Debug";
