// The tkrChannel… exports: the voices of a mixer, for host programs.
#include "exports/ExportStatus.h"
#include "exports/HostEvent.h"
#include "playback/RMixChannel.h"

namespace {

constexpr exports::Family kFamily = exports::Family::Playback;

// A channel handle is the channel object itself.
RMixChannel* Channel(TkrChannelHandle* handle) { return reinterpret_cast<RMixChannel*>(handle); }

} // namespace

extern "C" {

TKW_API int32_t TKW_CALL tkrChannelGetCondition(TkrChannelHandle* channel, int32_t* condition) {
  if (channel == nullptr || condition == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *condition = Channel(channel)->Condition();
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrChannelGetPosition(TkrChannelHandle* channel, TkrPlayPosition* position) {
  if (channel == nullptr || position == nullptr) return TKW_ERR_NULL_ARGUMENT;
  position->position = 0;
  position->lengthMs = 0;
  position->elapsedMs = 0;
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrChannelStart(TkrChannelHandle* channel, uint32_t number, TkrEventHandle* event) {
  if (channel == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(
      kFamily,
      [&] {
        Channel(channel)->Start(number, false);
        if (event != nullptr) *event = exports::HostEvent(Channel(channel)->DoneSignal());
        return TKW_OK;
      },
      [&](int32_t) {
        if (event != nullptr) *event = nullptr;
      });
}

TKW_API int32_t TKW_CALL tkrChannelLoop(TkrChannelHandle* channel, uint32_t number) {
  if (channel == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    Channel(channel)->Start(number, true);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrChannelChain(TkrChannelHandle* channel, uint32_t number) {
  if (channel == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    Channel(channel)->Chain(number);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrChannelReset(TkrChannelHandle* channel) {
  if (channel == nullptr) return TKW_ERR_NULL_ARGUMENT;
  Channel(channel)->Reset();
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrChannelSetVolume(TkrChannelHandle* channel, int32_t volume) {
  if (channel == nullptr) return TKW_ERR_NULL_ARGUMENT;
  Channel(channel)->SetVolume(volume);
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrChannelClose(TkrChannelHandle* channel) {
  if (channel == nullptr) return TKW_ERR_NULL_ARGUMENT;
  RMixChannel* closing = Channel(channel);
  closing->Context().closeChannel(closing);
  return TKW_OK;
}

} // extern "C"
