#include "encoder_app/StartCheck.h"

#include "platform/Files.h"
#include "support/RString.h"

namespace {

bool FolderExists(const std::string& path) {
  // A drive root is accepted when the volume reports free space.
  if (path.size() == 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/'))
    return plat::hasFreeSpace(path.c_str());
  return plat::isDirectory(path.c_str());
}

} // namespace

bool HasWavExtension(const std::string& path) {
  const char* separator = FindLastSeparator(path.c_str());
  const std::size_t nameStart = separator ? static_cast<std::size_t>(separator - path.c_str()) + 1 : 0;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return false;
  const std::string extension = path.substr(dot + 1);
  if (extension.size() != 3) return false;
  for (std::size_t i = 0; i < 3; ++i)
    if ((extension[i] | 0x20) != "wav"[i]) return false;
  return true;
}

std::string StartProblem(const EncoderSettings& settings) {
  if (!FolderExists(settings.writePath)) return "TKWディレクトリ名が不正です";
  if (settings.bBurst) {
    if (!FolderExists(settings.readPath)) return "Waveディレクトリ名が不正です";
  } else if (!HasWavExtension(settings.readPath) ||
             plat::findFile(settings.readPath.c_str()) != plat::FindResult::Found ||
             plat::isDirectory(settings.readPath.c_str())) {
    return "Waveファイル名が不正です";
  }
  return {};
}
