// The console of the command-line programs: Ctrl-C as a stop request, and
// what the standard streams are connected to.
#pragma once

#include <cstdio>

namespace plat {

// From now on the first Ctrl-C (or termination request) only sets the flag,
// so that work can stop cleanly; a second one ends the process as usual.
void installInterruptHandler();
bool interruptRequested();
// Test use: forget an earlier request.
void clearInterruptRequest();

bool isErrorStreamTerminal();
bool isTerminal(std::FILE* stream);
// The width of the terminal behind the stream in columns, or 0 when it is
// not a terminal or does not tell.
int terminalColumns(std::FILE* stream);

// Sounds travel through standard input and output byte for byte.
void makeStandardOutputBinary();
void makeStandardInputBinary();

} // namespace plat
