// A private folder under the system's temporary directory (TMPDIR), removed
// with its content when the object goes.
#pragma once

#include <string>

namespace cli {

class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Empty when the folder could not be made; error() says why.
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }
  std::string file(const std::string& name) const;

private:
  std::string path_;
  std::string error_;
};

} // namespace cli
