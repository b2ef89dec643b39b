// The tkrPlay… exports: players on a sound index, for host programs.
#include "exports/ExportStatus.h"
#include "exports/HostEvent.h"
#include "exports/TkrSoundIndex.h"
#include "playback/LibrarySettings.h"
#include "playback/RPlayer.h"

#include <memory>

struct TkrPlayHandle {
  explicit TkrPlayHandle(TkrDecodeHandle* archive) : index(archive), player(index) {}
  TkrSoundIndex index;
  RPlayer player;
};

namespace {

constexpr exports::Family kFamily = exports::Family::Playback;

std::int32_t Close(TkrPlayHandle* handle, bool closeIndex) {
  if (handle == nullptr) return TKW_ERR_NULL_ARGUMENT;
  TkrDecodeHandle* archive = handle->index.Handle();
  std::unique_ptr<TkrPlayHandle>{handle}.reset();
  if (closeIndex) tkrDecodeClose(archive);
  return TKW_OK;
}

} // namespace

extern "C" {

TKW_API int32_t TKW_CALL tkrPlayOpen(TkrPlayHandle** player, TkrDecodeHandle* index) {
  if (player == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *player = nullptr;
  if (index == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    auto opened = std::make_unique<TkrPlayHandle>(index);
    settings::ReadLogSetting();
    settings::ReadCacheLimit();
    *player = opened.release();
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrPlayGetTkr(TkrPlayHandle* player, TkrDecodeHandle** index) {
  if (player == nullptr || index == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *index = player->index.Handle();
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrPlayGetCondition(TkrPlayHandle* player, int32_t* condition) {
  if (player == nullptr || condition == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    *condition = player->player.Condition();
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrPlayGetPosition(TkrPlayHandle* player, TkrPlayPosition* position) {
  if (player == nullptr || position == nullptr) return TKW_ERR_NULL_ARGUMENT;
  const RPlayer::Position now = player->player.GetPosition();
  position->position = 0;
  position->lengthMs = now.lengthMs;
  position->elapsedMs = now.elapsedMs;
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrPlayStart(TkrPlayHandle* player, uint32_t number, TkrEventHandle* event) {
  if (event != nullptr) *event = nullptr;
  if (player == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    player->player.Start(number, false);
    if (event != nullptr) *event = exports::HostEvent(player->player.WakeEvent());
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrPlayLoop(TkrPlayHandle* player, uint32_t number) {
  if (player == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    player->player.Start(number, true);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrPlayChain(TkrPlayHandle* player, uint32_t number) {
  if (player == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    player->player.Chain(number);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrPlayReset(TkrPlayHandle* player) {
  if (player == nullptr) return TKW_ERR_NULL_ARGUMENT;
  player->player.StopPlayback();
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrPlayLoad(TkrPlayHandle* player, uint32_t number, uint32_t flags) {
  if (player == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    player->player.Load(number, flags);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrPlayRelease(TkrPlayHandle* player, uint32_t number) {
  if (player == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    player->player.Release(number);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrPlayClose(TkrPlayHandle* player) { return Close(player, true); }

TKW_API int32_t TKW_CALL tkrPlayClose2(TkrPlayHandle* player) { return Close(player, false); }

} // extern "C"
