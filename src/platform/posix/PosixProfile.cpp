#include "platform/Profile.h"
#include "platform/posix/IniDocument.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace plat {
namespace {

IniDocument load(const char* file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return IniDocument::parse("");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return IniDocument::parse(text);
}

} // namespace

int profileInt(const char* section, const char* key, int defaultValue, const char* file) {
  const auto value = load(file).get(section, key);
  if (!value) return defaultValue;
  return static_cast<int>(std::strtol(value->c_str(), nullptr, 10));
}

std::string profileString(const char* section, const char* key, const char* defaultValue, const char* file) {
  const auto value = load(file).get(section, key);
  return value ? *value : std::string(defaultValue ? defaultValue : "");
}

bool writeProfileString(const char* section, const char* key, const char* value, const char* file) {
  IniDocument document = load(file);
  document.set(section, key, value ? value : "");
  // Written beside the target and renamed over it, so a crash never leaves half a file.
  const std::string temporary = std::string(file) + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << document.text();
    if (!out.flush()) return false;
  }
  return std::rename(temporary.c_str(), file) == 0;
}

} // namespace plat
