// The console of the command-line programs: Ctrl-C as a stop request, and
// whether the error stream is a terminal that can show a progress line.
#pragma once

namespace plat {

// From now on the first Ctrl-C (or termination request) only sets the flag,
// so that work can stop cleanly; a second one ends the process as usual.
void installInterruptHandler();
bool interruptRequested();
// Test use: forget an earlier request.
void clearInterruptRequest();

bool isErrorStreamTerminal();

} // namespace plat
