// The numbered sounds of a sound index handle, opened through the index's
// exports and streamed through decode handles.
#pragma once

#include "playback/SoundIndex.h"
#include "tkwDec32.h"

class TkrSoundIndex : public SoundIndex {
public:
  explicit TkrSoundIndex(TkrDecodeHandle* handle) : handle_(handle) {}

  bool Exists(std::uint32_t number) override;
  std::unique_ptr<RSoundSource> Open(std::uint32_t number, std::uint32_t flags) override;

  TkrDecodeHandle* Handle() const { return handle_; }

private:
  TkrDecodeHandle* handle_;
};
