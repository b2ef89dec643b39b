#include "platform/Profile.h"

#include <windows.h>

namespace plat {

int profileInt(const char* section, const char* key, int defaultValue, const char* file) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, file));
}

std::string profileString(const char* section, const char* key, const char* defaultValue, const char* file) {
  char buffer[1024];
  const DWORD length =
      GetPrivateProfileStringA(section, key, defaultValue ? defaultValue : "", buffer, sizeof buffer, file);
  return std::string(buffer, length);
}

bool writeProfileString(const char* section, const char* key, const char* value, const char* file) {
  return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

} // namespace plat
