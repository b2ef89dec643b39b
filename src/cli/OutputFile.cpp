#include "cli/OutputFile.h"

#include "platform/Console.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace cli {

std::string ErrorText(int code) { return std::generic_category().message(code); }

OutputFile::Kind OutputFile::KindOf(const std::string& path) {
  if (path == "-") return Kind::StandardOutput;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) return Kind::Regular;
  if (std::filesystem::is_directory(status)) return Kind::Folder;
  return Kind::Direct;
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)), kind_(KindOf(path_)) {}

OutputFile::~OutputFile() {
  if (!committed_) Discard();
}

std::string OutputFile::shownName() const { return kind_ == Kind::StandardOutput ? "standard output" : path_; }

bool OutputFile::Fail(const std::string& what, int code) {
  error_ = what + (code ? ": " + ErrorText(code) : std::string());
  return false;
}

void OutputFile::Discard() {
  if (file_ && file_ != stdout) std::fclose(file_);
  file_ = nullptr;
  if (kind_ == Kind::Regular) {
    std::error_code ignored;
    std::filesystem::remove(PartialPath(path_), ignored);
  }
}

bool OutputFile::Open() {
  errno = 0;
  switch (kind_) {
  case Kind::Folder: return Fail("is a folder, not a file", 0);
  case Kind::StandardOutput:
    plat::makeStandardOutputBinary();
    file_ = stdout;
    return true;
  case Kind::Direct: file_ = std::fopen(path_.c_str(), "wb"); break;
  case Kind::Regular: file_ = std::fopen(PartialPath(path_).c_str(), "wb"); break;
  }
  if (!file_) return Fail(kind_ == Kind::Regular ? "cannot be created" : "cannot be opened", errno);
  return true;
}

bool OutputFile::Write(const void* data, std::size_t size) {
  if (!file_) return Fail("not open", 0);
  errno = 0;
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) return Fail("write failed", errno);
  return true;
}

bool OutputFile::CopyFrom(const std::string& source) {
  errno = 0;
  std::FILE* in = std::fopen(source.c_str(), "rb");
  if (!in) return Fail("cannot read " + source, errno);
  std::vector<char> block(1 << 16);
  bool ok = true;
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), in);
    if (got > 0 && !Write(block.data(), got)) {
      ok = false;
      break;
    }
    if (got < block.size()) {
      if (std::ferror(in)) ok = Fail("cannot read " + source, errno);
      break;
    }
  }
  std::fclose(in);
  return ok;
}

bool OutputFile::Commit() {
  if (!file_) return Fail("not open", 0);
  errno = 0;
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  int code = errno;
  if (file_ != stdout) {
    if (std::fclose(file_) != 0 && ok) {
      ok = false;
      code = errno;
    }
  }
  file_ = nullptr;
  if (!ok) {
    Discard();
    return Fail("write failed", code);
  }
  if (kind_ == Kind::Regular) {
    std::error_code error;
    std::filesystem::rename(PartialPath(path_), path_, error);
    if (error) {
      Discard();
      return Fail("cannot put the file in place", error.value());
    }
  }
  committed_ = true;
  return true;
}

} // namespace cli
