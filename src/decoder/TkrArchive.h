// One .tkr archive in a sound index: its numbers and, per sound, what a
// decode handle needs (header values, sector table, block decoder, the
// absolute offset of its data). Everything is checked against the file when
// the archive is read, so no sound of it can reach outside the file.
#pragma once

#include "decoder/TkrSoundSet.h"
#include "decoder/TkwHeader.h"
#include "support/RFile.h"

#include <string>
#include <string_view>

class TkwBlockDecoder;

class TkrArchive : public TkrSoundSet {
public:
  // Reads the header, checks the password and reads the index. Throws
  // TKR_BadFormat for anything that is not a sound archive or does not fit
  // the file, TKR_BadPassword for a wrong password (null or empty: none).
  static std::unique_ptr<TkrArchive> Read(const char* path, const char* password);
  ~TkrArchive() override;

  std::unique_ptr<TkwDecodeHandle> OpenSound(std::size_t index, std::uint32_t flags) const override;

  std::uint32_t CodecVersion() const { return codecVersion_; }

private:
  struct Sound {
    TkwHeaderValues header;
    std::vector<TkwSectorEntry> table;
    std::unique_ptr<TkwBlockDecoder> prototype;
    std::uint32_t dataOffset = 0;
  };

  TkrArchive() = default;
  void ReadIndex(std::uint64_t indexStart, std::size_t entrySize, std::uint32_t totalLength);

  RFile file_; // held open while the archive is part of an index
  std::uint32_t codecVersion_ = 0;
  std::vector<Sound> sounds_;
};
