// How the playback exports turn the conditions raised inside into statuses,
// and hand events to the host.
#pragma once

#include "platform/Sync.h"
#include "support/Exceptions.h"
#include "tkwDec32.h"

#include <new>

namespace playback {

// Runs body, answering with its status or with the status of what it threw.
// Nothing escapes.
template <typename Body> std::int32_t Guarded(Body body) noexcept {
  try {
    return body();
  } catch (const PC_BadIndex&) {
    return TKR_ERR_NO_SOUND;
  } catch (const PM_BadIndex&) {
    return TKR_ERR_NO_SOUND;
  } catch (const PC_WaveDeviceAllocated&) {
    return TKW_ERR_DEVICE_BUSY;
  } catch (const PM_WaveDeviceAllocated&) {
    return TKW_ERR_DEVICE_BUSY;
  } catch (const PC_DeviceNotSupport&) {
    return TKW_ERR_DEVICE_FORMAT;
  } catch (const PM_DeviceNotSupport&) {
    return TKW_ERR_DEVICE_FORMAT;
  } catch (...) {
    return TKW_ERR_BAD_FORMAT;
  }
}

// The event as the host sees it: the system's event handle where there is
// one, else the event object itself, which the host can only compare.
inline TkrEventHandle HostEvent(plat::Event& event) {
  void* native = event.nativeHandle();
  return native ? native : static_cast<void*>(&event);
}

} // namespace playback
