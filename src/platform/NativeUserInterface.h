// Backend half of UserInterface.h: the operating system's own message box.
#pragma once

namespace plat {

int nativeMessageBox(const char* text, const char* caption, unsigned style);

} // namespace plat
