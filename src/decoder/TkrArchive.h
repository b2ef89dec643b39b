// One .tkr archive in a sound index: its numbers and, per sound, what a
// decode handle needs (header values, sector table, block decoder, where its
// data lies). Everything is checked against the archive's bytes when it is
// read, so no sound of it can reach outside them.
#pragma once

#include "decoder/TkrSoundSet.h"
#include "format/TkrIndex.h"
#include "support/ByteSource.h"

#include <memory>
#include <vector>

class TkwBlockDecoder;

class TkrArchive : public TkrSoundSet {
public:
  // Reads the header, checks the password and reads the index. Throws
  // TKR_BadFormat for anything that is not a sound archive or does not fit
  // its bytes, TKR_BadPassword for a wrong password (null or empty: none),
  // and TKR_CannotOpen for a file of data that does not open now.
  static std::unique_ptr<TkrArchive> Read(const char* path, const char* password);
  // The same for an archive's bytes from any source (a file, memory).
  static std::unique_ptr<TkrArchive> Read(std::unique_ptr<ByteSource> source, const char* password);
  ~TkrArchive() override;

  // A handle reading the sound through a window of the archive reopened for it.
  std::unique_ptr<TkwDecodeHandle> OpenSound(std::size_t index, std::uint32_t flags,
                                             const TkwMessageSink& sink) const override;

  std::uint32_t CodecVersion() const { return index_.codecVersion; }

private:
  TkrArchive() = default;

  std::unique_ptr<ByteSource> source_; // held open while the archive is part of an index
  TkrIndex index_;
  std::vector<std::unique_ptr<TkwBlockDecoder>> prototypes_; // one per sound
};
