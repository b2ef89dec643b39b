// TkwEncoder.ini: the encoder settings and the two remembered paths, read at
// start and written back at exit through the private-profile calls.
#pragma once

#include "encoder/EncoderSettings.h"

#include <string>

// TkwEncoder.ini in the current directory.
std::string DefaultSettingsPath();

// Missing keys take their defaults; both paths default to the current directory.
EncoderSettings LoadSettings(const std::string& iniPath);
// Integers are written as decimal text. False when the file cannot be written.
bool SaveSettings(const EncoderSettings& settings, const std::string& iniPath);
