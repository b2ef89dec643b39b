// The library's settings from "TkwDec32.ini" in the current directory. One
// copy serves the whole process: each read replaces the values for every
// player and mixer, open or not.
#pragma once

#include <cstdint>
#include <string>

namespace settings {

// Debug/bMakeLog: append cache load and release lines to "Log.txt".
bool MakeLog();
// Tkw_MixObject/WaveBlockSizeMS and WaveBlockCnt.
std::uint32_t BlockSizeMs();
std::uint32_t BlockCount();
// Tkw_SoundCache/MaxCacheMB (default 256): the most memory the sounds
// preloaded into one player's or one mixer's cache may take, in bytes.
std::uint64_t CacheLimitBytes();

// Read at each player's open.
void ReadLogSetting();
// Read at each mixer's creation.
void ReadMixerSettings();
// Read at each player's open and each mixer's creation.
void ReadCacheLimit();

// The settings file's path: the current directory, a separator and the name;
// a directory too long for its 250-character room is left out.
std::string SettingsPath();

// Appends one line, with the sound number for %d, to "Log.txt" in the current
// directory.
void AppendLogLine(const char* format, std::uint32_t number);

} // namespace settings
