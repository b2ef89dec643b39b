#include "testutil/TempDir.h"

#include "platform/Files.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testutil {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path folder =
      fs::temp_directory_path() / ("tkwtest-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(folder);
  path_ = folder.string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const { return path_ + plat::kPathSeparator + name; }

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& path) : previous_(plat::currentDirectory()) {
  if (!plat::changeDirectory(path.c_str())) throw std::runtime_error("cannot enter " + path);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() { plat::changeDirectory(previous_.c_str()); }

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return fs::exists(path); }

} // namespace testutil
