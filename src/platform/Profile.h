// Private-profile (ini file) settings with the Windows semantics: sections and
// keys match without regard to case, a missing file, section or key yields the
// default, integers are read as leading decimal digits.
#pragma once

#include <string>

namespace plat {

int profileInt(const char* section, const char* key, int defaultValue, const char* file);
std::string profileString(const char* section, const char* key, const char* defaultValue, const char* file);
bool writeProfileString(const char* section, const char* key, const char* value, const char* file);

} // namespace plat
