// The event a start export hands to the host.
#pragma once

#include "platform/Sync.h"
#include "tkwDec32.h"

namespace exports {

// The system's event handle where there is one, else the event object itself,
// which the host can only compare.
inline TkrEventHandle HostEvent(plat::Event& event) {
  void* native = event.nativeHandle();
  return native ? native : static_cast<void*>(&event);
}

} // namespace exports
