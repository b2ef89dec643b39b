// Reading a secret from the terminal.
#pragma once

#include <string>

namespace plat {

// Shows the prompt on the error stream and reads one line from standard input
// without echoing it when that is a terminal; the line ending is removed.
// False when the input has ended.
bool readHiddenLine(const char* prompt, std::string& line);

} // namespace plat
