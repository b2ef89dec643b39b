// The decoding core tells what goes wrong (a sound file that no longer
// opens, a bad line of a list) to a sink; for host programs it becomes a
// message box.
#pragma once

#include "decoder/TkwMessageSink.h"
#include "platform/UserInterface.h"

namespace exports {

inline TkwMessageSink MessageBoxSink() {
  return [](const char* text, const char* caption) { plat::messageBox(text, caption); };
}

} // namespace exports
