// The tkrMix… exports: mixers on a sound index and the opening of their
// channels, for host programs.
#include "exports/ExportStatus.h"
#include "exports/TkrSoundIndex.h"
#include "playback/RMixer.h"

#include <memory>

struct TkrMixHandle {
  explicit TkrMixHandle(TkrDecodeHandle* index)
      : archive(index), mixer(RMixer::Create(std::make_unique<TkrSoundIndex>(index))) {}
  // Also after a failed open: the mixer's thread is waiting to start.
  ~TkrMixHandle() { mixer->Shutdown(); }
  TkrMixHandle(const TkrMixHandle&) = delete;
  TkrMixHandle& operator=(const TkrMixHandle&) = delete;

  TkrDecodeHandle* archive;
  std::shared_ptr<RMixer> mixer;
};

namespace {

constexpr exports::Family kFamily = exports::Family::Playback;

std::int32_t Close(TkrMixHandle* handle, bool closeIndex) {
  if (handle == nullptr) return TKW_ERR_NULL_ARGUMENT;
  TkrDecodeHandle* archive = handle->archive;
  std::unique_ptr<TkrMixHandle>{handle}.reset();
  if (closeIndex) tkrDecodeClose(archive);
  return TKW_OK;
}

std::int32_t SetWait(TkrMixHandle* mixer) { return mixer == nullptr ? TKW_ERR_NULL_ARGUMENT : TKW_OK; }

} // namespace

extern "C" {

TKW_API int32_t TKW_CALL tkrMixOpen(TkrMixHandle** mixer, TkrDecodeHandle* index, uint32_t format) {
  if (mixer == nullptr || index == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *mixer = nullptr;
  return exports::Guarded(kFamily, [&] {
    auto handle = std::make_unique<TkrMixHandle>(index);
    handle->mixer->Open(format);
    *mixer = handle.release();
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrMixGetTkr(TkrMixHandle* mixer, TkrDecodeHandle** index) {
  if (mixer == nullptr || index == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *index = mixer->archive;
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrMixReset(TkrMixHandle* mixer) {
  if (mixer == nullptr) return TKW_ERR_NULL_ARGUMENT;
  mixer->mixer->Reset();
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrMixLoad(TkrMixHandle* mixer, uint32_t number, uint32_t /*flags: always decoded whole*/) {
  if (mixer == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    mixer->mixer->Load(number);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrMixRelease(TkrMixHandle* mixer, uint32_t number) {
  if (mixer == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    mixer->mixer->Release(number);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrMixSetWait(TkrMixHandle* mixer, int32_t /*value*/) { return SetWait(mixer); }

TKW_API int32_t TKW_CALL tkrMixAssure(TkrMixHandle* mixer, int32_t /*value*/) { return SetWait(mixer); }

TKW_API int32_t TKW_CALL tkrMixSetBlock(TkrMixHandle* mixer, int32_t /*first*/, int32_t /*second*/) {
  return mixer == nullptr ? TKW_ERR_NULL_ARGUMENT : TKW_OK;
}

TKW_API int32_t TKW_CALL tkrMixChannelOpen(TkrMixHandle* mixer, TkrChannelHandle** channel) {
  if (channel != nullptr) *channel = nullptr;
  if (mixer == nullptr || channel == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    *channel = reinterpret_cast<TkrChannelHandle*>(mixer->mixer->OpenChannel());
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrMixClose(TkrMixHandle* mixer) { return Close(mixer, true); }

TKW_API int32_t TKW_CALL tkrMixClose2(TkrMixHandle* mixer) { return Close(mixer, false); }

} // extern "C"
