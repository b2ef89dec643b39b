#include "cli/TempFolder.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace cli {

TempFolder::TempFolder() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) {
    error_ = "no temporary folder: " + error.message();
    return;
  }
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::filesystem::path candidate = base / ("tkw-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate.string();
      return;
    }
    if (error) break;
  }
  error_ = "cannot make a temporary folder in " + base.string() + (error ? ": " + error.message() : "");
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::file(const std::string& name) const { return (std::filesystem::path(path_) / name).string(); }

} // namespace cli
