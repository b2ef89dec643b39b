// The encoder's settings: the values of TkwEncoder.ini that the engine reads,
// plus the two remembered paths. Field names are the ini keys.
#pragma once

#include <cstdint>
#include <string>

struct EncoderSettings {
  std::int32_t EncodeVersion = 2;
  std::int32_t MaxError2 = 100;
  std::int32_t DestBits = 10;
  std::int32_t bEncodeMinBits = 1;
  std::int32_t ContrastBits = 8;
  std::int32_t BrightnessBits = 9;
  std::int32_t MaxContrast = 3;
  std::int32_t MaxBrightness = 15000;
  std::int32_t bRemake = 0;
  std::int32_t bBurst = 0;
  std::int32_t bSearchSub = 1;
  std::int32_t bMakeLog = 1;
  std::int32_t bSelectEncode = 0;

  std::string readPath;  // input file, or folder in directory mode
  std::string writePath; // output folder
};

// The message that explains why the engine cannot work with these values, or
// the empty text when they are usable. Checked before any file is touched:
// the limits divide the quantiser scales and must fit the 16-bit header
// fields, and distances must stay within the decoder's zero history.
std::string SettingsProblem(const EncoderSettings& settings);

// Thrown by the batch entry points when SettingsProblem is not empty.
struct EC_BadSettings {
  std::string message;
};
