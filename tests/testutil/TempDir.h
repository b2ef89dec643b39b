// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testutil {

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + separator + name
  std::string file(const std::string& name) const;

private:
  std::string path_;
};

// Runs the scope with the current directory set to a folder, restoring it after.
class ScopedCurrentDirectory {
public:
  explicit ScopedCurrentDirectory(const std::string& path);
  ~ScopedCurrentDirectory();

private:
  std::string previous_;
};

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);
bool FileExists(const std::string& path);

} // namespace testutil
