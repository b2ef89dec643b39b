#include "encoder_app/SettingsFile.h"

#include "platform/Files.h"
#include "platform/Profile.h"

#include <string>

namespace {

constexpr const char* kParams = "EncodeParam";
constexpr const char* kReadPath = "ReadPath";
constexpr const char* kWritePath = "WritePath";
constexpr const char* kHistory = "Hist0";

// Every integer key with its field, in the order they are written.
template <class Settings, class Visit> void ForEachKey(Settings& s, Visit visit) {
  visit("bBurst", s.bBurst);
  visit("bSearchSub", s.bSearchSub);
  visit("EncodeVersion", s.EncodeVersion);
  visit("MaxContrast", s.MaxContrast);
  visit("MaxBrightness", s.MaxBrightness);
  visit("MaxError2", s.MaxError2);
  visit("ContrastBits", s.ContrastBits);
  visit("BrightnessBits", s.BrightnessBits);
  visit("DestBits", s.DestBits);
  visit("bEncodeMinBits", s.bEncodeMinBits);
  visit("bSelectEncode", s.bSelectEncode);
  visit("bRemake", s.bRemake);
  visit("bMakeLog", s.bMakeLog);
}

} // namespace

std::string DefaultSettingsPath() { return plat::currentDirectory() + plat::kPathSeparator + "TkwEncoder.ini"; }

EncoderSettings LoadSettings(const std::string& iniPath) {
  EncoderSettings s;
  const char* file = iniPath.c_str();
  ForEachKey(s, [file](const char* key, std::int32_t& value) { value = plat::profileInt(kParams, key, value, file); });
  const std::string here = plat::currentDirectory();
  s.readPath = plat::profileString(kReadPath, kHistory, here.c_str(), file);
  s.writePath = plat::profileString(kWritePath, kHistory, here.c_str(), file);
  return s;
}

bool SaveSettings(const EncoderSettings& settings, const std::string& iniPath) {
  const char* file = iniPath.c_str();
  bool ok = true;
  ForEachKey(settings, [file, &ok](const char* key, const std::int32_t& value) {
    ok = plat::writeProfileString(kParams, key, std::to_string(value).c_str(), file) && ok;
  });
  ok = plat::writeProfileString(kReadPath, kHistory, settings.readPath.c_str(), file) && ok;
  ok = plat::writeProfileString(kWritePath, kHistory, settings.writePath.c_str(), file) && ok;
  return ok;
}
