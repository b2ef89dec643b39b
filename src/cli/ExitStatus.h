// The exit statuses every command-line program of the project shares.
#pragma once

namespace cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFileFailed = 1; // some file could not be processed
inline constexpr int kExitUsage = 2;      // the command line cannot be used
inline constexpr int kExitStopped = 130;  // stopped by Ctrl-C (128 + SIGINT)

} // namespace cli
