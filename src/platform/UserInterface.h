// The few user-interface calls the engines make: message boxes and opening a
// folder in the file manager.
#pragma once

#include <functional>

namespace plat {

enum MessageBoxStyle : unsigned {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};

// Windows: the real message box. Elsewhere: caption and text on stderr, never
// blocking. Returns the button chosen (1 = OK).
int messageBox(const char* text, const char* caption, unsigned style = kMbOk);

// Replaces every message box of the process (tests capture them); an empty
// function restores the default.
using MessageBoxHook = std::function<int(const char* text, const char* caption, unsigned style)>;
void setMessageBoxHook(MessageBoxHook hook);

// Windows: explorer "path". Elsewhere: xdg-open. False when it could not start.
bool openFolder(const char* path);

} // namespace plat
