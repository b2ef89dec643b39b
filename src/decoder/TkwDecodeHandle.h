// The object behind a decode handle: one sound (a .tkw file, or a sound
// stored inside an archive), the bytes it is read from, its decoder and the
// loop flag.
//
// The bytes are a byte source whose position 0 is the first byte of the
// sound's data area: a window onto a .tkw file or an archive, or onto a block
// of memory. The handle holds that source for its life, and every read works
// on a reopened copy of it, so a file is opened again by its path for each
// read, and different handles never share a position.
//
// Building a handle for a sound inside another file (an archive): check the
// header values (CheckTkwHeaderValues) before reading a table of
// entryCount × 8 bytes, and compare that size with the bytes left before
// allocating it; ReadTkrIndex does both. Create() takes values that passed
// the checks (it repeats them against the data's size and throws
// TKW_BadFormat); the handle owns copies of everything, so it outlives
// whatever it was built from. It reads exactly like a handle opened on a
// .tkw file with the same contents, in both modes.
#pragma once

#include "decoder/TkwDecoder.h"
#include "decoder/TkwMessageSink.h"
#include "format/TkwHeader.h"
#include "support/ByteSource.h"

#include <cstdint>
#include <memory>

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
  static std::unique_ptr<TkwDecodeHandle> Open(const char* path, std::uint32_t flags, TkwMessageSink sink);
  // A .tkw file's bytes from any source, read from its start. Throws
  // TKW_BadFormat for bytes that are not a valid sound.
  static std::unique_ptr<TkwDecodeHandle> Open(std::unique_ptr<ByteSource> file, std::uint32_t flags,
                                               TkwMessageSink sink);
  // A sound whose data area is `data` (see above). Data that is not open
  // (a file that did not open again) is told to the sink and the handle is
  // made all the same: each read opens the file again and fails while it
  // cannot.
  static std::unique_ptr<TkwDecodeHandle> Create(std::unique_ptr<ByteSource> data, const TkwHeaderValues& header,
                                                 TkwSectorTable table, std::unique_ptr<TkwBlockDecoder> blockDecoder,
                                                 std::uint32_t flags, TkwMessageSink sink);

  // Reads `frames` interleaved frames, reopening the data for the call.
  // Returns 0, or 13 when the end was reached without the loop flag. When
  // the data does not open, tells the sink and throws TKW_CannotOpen with
  // nothing read and the position unchanged.
  std::int32_t Read(std::int16_t* buffer, std::uint32_t frames, std::uint32_t* delivered);
  // Frames already decoded only; never touches the data.
  std::uint32_t ReadPulse(std::int16_t* buffer, std::uint32_t frames);
  // False when the sector is out of range (the position is then unchanged).
  bool SetSector(std::int32_t sector);

  TkwDecoder& Decoder() { return *decoder_; }
  const TkwDecoder& Decoder() const { return *decoder_; }
  bool Loops() const { return loop_; }

private:
  TkwDecodeHandle(std::uint32_t flags, TkwMessageSink sink);
  std::int32_t ReadOnce(ByteSource& data, std::int16_t* buffer, std::uint32_t frames, std::uint32_t* delivered);
  void Tell(const char* text, const char* caption) const;

  std::unique_ptr<ByteSource> data_; // held for the handle's life
  std::unique_ptr<TkwDecoder> decoder_;
  bool loop_ = false;
  TkwMessageSink sink_;
};

// The message shown when a read cannot open the sound's file again.
inline constexpr const char* kTkwReopenFailedText = "ファイルハンドルのコピーに失敗しました";
inline constexpr const char* kTkwReopenFailedCaption = "Debug";
