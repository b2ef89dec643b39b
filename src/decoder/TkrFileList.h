// One list file in a sound index: numbered .tkw files, opened by path when a
// sound is asked for.
#pragma once

#include "decoder/TkrSoundSet.h"

#include <string>

class TkrFileList : public TkrSoundSet {
public:
  // Reads the list and checks that every entry names a readable .tkw file.
  // A bad entry is told to the sink (the line named) and gives null. A
  // list that cannot be read throws TKR_NotFound; a named sound that is there
  // but does not open now (no handle left) throws TKW_CannotOpen.
  static std::unique_ptr<TkrFileList> Load(const char* path, const TkwMessageSink& sink);

  std::unique_ptr<TkwDecodeHandle> OpenSound(std::size_t index, std::uint32_t flags,
                                             const TkwMessageSink& sink) const override;

  const std::vector<std::string>& Paths() const { return paths_; }

  static constexpr const char* kErrorCaption = "TkrConverter用のリストに起因するエラー";

private:
  TkrFileList() = default;

  std::vector<std::string> paths_;
};
