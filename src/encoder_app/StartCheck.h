// The checks before an encode starts: the output folder must exist, and the
// input must be an existing folder (directory mode) or an existing .wav file.
#pragma once

#include "encoder/EncoderSettings.h"

#include <string>

// The message to show (caption "エラー"), or the empty text when the encode may start.
std::string StartProblem(const EncoderSettings& settings);
// True when the text after the last "." of the name part is "wav" in any case.
bool HasWavExtension(const std::string& path);
