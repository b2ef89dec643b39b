#include "platform/Files.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace plat {
namespace {

std::string parentOf(const std::string& path) {
  const auto cut = path.find_last_of('/');
  if (cut == std::string::npos) return ".";
  if (cut == 0) return "/";
  return path.substr(0, cut);
}

std::string lastComponent(const std::string& path) {
  const auto cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool hasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

FindResult findPattern(const std::string& path, FindEntry* entry) {
  const std::string folder = parentOf(path);
  std::string pattern = lastComponent(path);
  if (pattern == "*.*") pattern = "*"; // Windows matches names without a dot too
  std::vector<FindEntry> entries;
  if (!listDirectory(folder.c_str(), entries)) return FindResult::PathNotFound;
  for (const auto& candidate : entries) {
    if (fnmatch(pattern.c_str(), candidate.name.c_str(), 0) == 0) {
      if (entry) *entry = candidate;
      return FindResult::Found;
    }
  }
  errno = ENOENT;
  return FindResult::FileNotFound;
}

} // namespace

NativeHandle openFile(const char* path, FileMode mode) {
  // Non-blocking, so that a pipe without a writer cannot hold the open; the
  // flag is cleared again once the file is known to be a regular one.
  int flags = O_CLOEXEC | O_NONBLOCK;
  switch (mode) {
  case FileMode::ReadExisting: flags |= O_RDONLY; break;
  case FileMode::CreateReadWrite: flags |= O_RDWR | O_CREAT; break; // truncated once it is ours
  case FileMode::OpenReadWrite: flags |= O_RDWR; break;
  }
  const int fd = ::open(path, flags, 0644);
  if (fd < 0) return kInvalidHandle;
  const auto refuse = [fd](int error) {
    ::close(fd);
    errno = error;
    return kInvalidHandle;
  };
  struct stat info {};
  if (::fstat(fd, &info) != 0) return refuse(errno);
  // A folder is not a file here, as on Windows.
  if (S_ISDIR(info.st_mode)) return refuse(EISDIR);
  if (!S_ISREG(info.st_mode)) {
    // Output may go to a device; existing files are read as data only.
    if (mode != FileMode::CreateReadWrite) return refuse(ENXIO);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (mode != FileMode::ReadExisting) {
    // Nobody else may write, as the Windows share mode says. A file system
    // without locks is written unguarded.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return refuse(EBUSY);
    if (mode == FileMode::CreateReadWrite && ::ftruncate(fd, 0) != 0) return refuse(errno);
  }
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return fd;
}

bool readFile(NativeHandle file, void* buffer, std::uint32_t count, std::uint32_t* got) {
  std::uint32_t total = 0;
  auto* bytes = static_cast<char*>(buffer);
  bool ok = file != kInvalidHandle;
  if (!ok) errno = EBADF;
  while (ok && total < count) {
    const ssize_t n = ::read(static_cast<int>(file), bytes + total, count - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else if (n == 0) {
      break;
    } else {
      total += static_cast<std::uint32_t>(n);
    }
  }
  if (got) *got = total;
  return ok;
}

bool writeFile(NativeHandle file, const void* buffer, std::uint32_t count, std::uint32_t* written) {
  std::uint32_t total = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  bool ok = file != kInvalidHandle;
  if (!ok) errno = EBADF;
  const std::uint32_t allowed = ok ? detail::takeFreeSpace(count) : 0;
  if (allowed < count) {
    // A simulated full volume: take what fits, then fail as the system does.
    std::uint32_t part = 0;
    if (allowed > 0) writeFile(file, buffer, allowed, &part);
    if (written) *written = part;
    errno = ENOSPC;
    return false;
  }
  while (ok && total < count) {
    const ssize_t n = ::write(static_cast<int>(file), bytes + total, count - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else {
      total += static_cast<std::uint32_t>(n);
    }
  }
  if (written) *written = total;
  return ok;
}

std::int64_t seekFile(NativeHandle file, std::int64_t offset, SeekOrigin origin) {
  if (file == kInvalidHandle) {
    errno = EBADF;
    return -1;
  }
  const int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  return ::lseek(static_cast<int>(file), offset, whence);
}

std::int64_t fileSize(NativeHandle file) {
  struct stat info {};
  if (file == kInvalidHandle || ::fstat(static_cast<int>(file), &info) != 0) return -1;
  return info.st_size;
}

bool closeFile(NativeHandle file) {
  if (file == kInvalidHandle) return true;
  // The descriptor is gone even when close reports an error; never retry.
  return ::close(static_cast<int>(file)) == 0 || errno == EINTR;
}

int lastError() { return errno; }

std::string errorText(int error) { return std::strerror(error); }

bool isDiskFull(int error) { return error == ENOSPC || error == EDQUOT; }

bool isInUse(int error) { return error == EBUSY; }

FindResult findFile(const char* path, FindEntry* entry) {
  if (!path || !*path) {
    errno = ENOENT;
    return FindResult::PathNotFound;
  }
  const std::string text(path);
  if (hasWildcard(lastComponent(text))) return findPattern(text, entry);
  struct stat info {};
  if (::stat(path, &info) == 0) {
    if (entry) {
      entry->name = lastComponent(text);
      entry->isDirectory = S_ISDIR(info.st_mode);
      entry->isSpecial = !S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode);
    }
    return FindResult::Found;
  }
  if (errno == ENOENT) {
    struct stat parent {};
    const bool parentIsFolder = ::stat(parentOf(text).c_str(), &parent) == 0 && S_ISDIR(parent.st_mode);
    errno = ENOENT;
    return parentIsFolder ? FindResult::FileNotFound : FindResult::PathNotFound;
  }
  if (errno == ENOTDIR) return FindResult::PathNotFound;
  return FindResult::OtherError;
}

bool listDirectory(const char* folder, std::vector<FindEntry>& entries) {
  DIR* dir = ::opendir(folder);
  if (!dir) return false;
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    FindEntry entry;
    entry.name = name;
    struct stat info {};
    if (::stat((std::string(folder) + "/" + name).c_str(), &info) == 0) {
      entry.isDirectory = S_ISDIR(info.st_mode);
      entry.isSpecial = !S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode);
    }
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  return true;
}

bool isDirectory(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool fullPathName(const char* path, std::string& out) {
  if (!path || !*path) {
    errno = ENOENT;
    return false;
  }
  std::string absolute = path;
  if (absolute.front() != '/') absolute = currentDirectory() + "/" + absolute;
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= absolute.size()) {
    const auto end = absolute.find('/', start);
    const std::string part = absolute.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  out.clear();
  for (const auto& part : parts)
    out += "/" + part;
  if (out.empty()) out = "/";
  return true;
}

std::string currentDirectory() {
  std::string buffer(4096, '\0');
  if (!::getcwd(buffer.data(), buffer.size())) return ".";
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

bool changeDirectory(const char* path) { return ::chdir(path) == 0; }
bool removeFile(const char* path) { return ::unlink(path) == 0; }
bool renameFile(const char* from, const char* to) { return ::rename(from, to) == 0; }
bool makeDirectory(const char* path) { return ::mkdir(path, 0755) == 0; }
bool removeDirectory(const char* path) { return ::rmdir(path) == 0; }

bool hasFreeSpace(const char* path) {
  struct statvfs info {};
  return ::statvfs(path, &info) == 0 && info.f_bavail > 0;
}

bool isLeadByte(unsigned char) { return false; } // UTF-8 never hides '/' in a sequence

} // namespace plat
