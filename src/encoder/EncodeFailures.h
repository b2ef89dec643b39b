// Failures of one file found while it is encoded, each with what the failure
// report needs. The file is skipped like an input it cannot encode.
#pragma once

#include <cstdint>

// The output file could not be created or put under its name.
struct EC_OutputNotCreated {
  int error; // the OS error code
};
// A write, or the closing of the output, failed (a full disk, for instance).
struct EC_OutputWriteFailed {
  int error;
};
// The wave data ended before the frames its header declares.
struct EC_InputEndedEarly {
  std::uint64_t framesRead;
  std::uint64_t framesDeclared;
};
