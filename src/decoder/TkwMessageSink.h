// Where the decoding core's messages go: a sound file that no longer opens
// by its path, a bad line of a list file. The core never calls the user
// interface itself; whoever drives it hands it a sink (the exports: one that
// shows a message box).
#pragma once

#include <functional>

using TkwMessageSink = std::function<void(const char* text, const char* caption)>;
