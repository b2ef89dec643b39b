// The files the fuzz targets hand to the code under test. Every input is
// written here and nowhere else, into a folder of the process's own, so that
// moving the targets onto sources in memory changes this file only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace fuzz {

// The process's folder: created at first use, removed at exit.
inline const std::string& Folder() {
  struct OwnFolder {
    OwnFolder() {
      std::random_device random;
      path = (std::filesystem::temp_directory_path() / ("tkw_fuzz_" + std::to_string(random()))).string();
      std::filesystem::create_directories(path);
    }
    ~OwnFolder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
    std::string path;
  };
  static const OwnFolder folder;
  return folder.path;
}

inline std::string PathOf(const std::string& name) { return (std::filesystem::path(Folder()) / name).string(); }

// Writes the bytes to the folder under `name`; their path.
inline std::string WriteFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = PathOf(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

inline std::string WriteFile(const std::string& name, std::string_view text) {
  return WriteFile(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

inline void RemoveFile(const std::string& name) {
  std::error_code ignored;
  std::filesystem::remove(PathOf(name), ignored);
}

// The good sounds (the seeds of the .tkw target) copied into the folder once,
// as "<seed name>.tkw", so that lists can name real sounds; their names.
inline const std::vector<std::string>& InstallSounds() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> installed;
    for (const auto& seed : std::filesystem::directory_iterator(TKW_FUZZ_SOUNDS)) {
      const std::string name = seed.path().filename().string() + ".tkw";
      std::error_code ignored;
      std::filesystem::copy_file(seed.path(), PathOf(name), std::filesystem::copy_options::overwrite_existing, ignored);
      installed.push_back(name);
    }
    return installed;
  }();
  return names;
}

} // namespace fuzz
