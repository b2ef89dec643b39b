// An output file the user names. A regular file (or a name not yet taken) is
// written under a temporary name next to it and renamed into place once it is
// complete, so a failed run never leaves a half-written file under the final
// name. Anything else is written directly, since renaming over it would
// replace it: "-" (standard output), a device such as /dev/null, a named pipe.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace cli {

class OutputFile {
public:
  enum class Kind { Regular, Direct, StandardOutput, Folder };

  static Kind KindOf(const std::string& path);
  // The temporary name of a regular output.
  static std::string PartialPath(const std::string& path) { return path + ".part"; }

  explicit OutputFile(std::string path);
  ~OutputFile(); // an output that was not committed is removed (regular files only)
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // False with the reason in error().
  bool Open();
  bool Write(const void* data, std::size_t size);
  // Appends the whole content of a file.
  bool CopyFrom(const std::string& source);
  // Flushes and closes (every failure counts, a full disk among them), then
  // puts a regular file in place.
  bool Commit();

  Kind kind() const { return kind_; }
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }
  // How the output is called in messages ("standard output" for "-").
  std::string shownName() const;

private:
  bool Fail(const std::string& what, int code);
  void Discard();

  std::string path_;
  Kind kind_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;
  std::string error_;
};

// The reason text of an errno value.
std::string ErrorText(int code);

} // namespace cli
