#include "platform/Files.h"

#include <windows.h>

namespace plat {
namespace {

HANDLE toHandle(NativeHandle file) { return reinterpret_cast<HANDLE>(file); }

} // namespace

NativeHandle openFile(const char* path, FileMode mode) {
  DWORD access = GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  if (mode == FileMode::CreateReadWrite) {
    access = GENERIC_READ | GENERIC_WRITE;
    disposition = CREATE_ALWAYS;
  } else if (mode == FileMode::OpenReadWrite) {
    access = GENERIC_READ | GENERIC_WRITE;
  }
  HANDLE handle = CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return kInvalidHandle;
  // Existing files are read as data only: a console, device or pipe is not one.
  if (mode != FileMode::CreateReadWrite && GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    SetLastError(ERROR_BAD_FILE_TYPE);
    return kInvalidHandle;
  }
  return reinterpret_cast<NativeHandle>(handle);
}

bool readFile(NativeHandle file, void* buffer, std::uint32_t count, std::uint32_t* got) {
  DWORD read = 0;
  const BOOL ok = file != kInvalidHandle && ReadFile(toHandle(file), buffer, count, &read, nullptr);
  if (file == kInvalidHandle) SetLastError(ERROR_INVALID_HANDLE);
  if (got) *got = read;
  return ok != FALSE;
}

bool writeFile(NativeHandle file, const void* buffer, std::uint32_t count, std::uint32_t* written) {
  DWORD done = 0;
  const std::uint32_t allowed = file != kInvalidHandle ? detail::takeFreeSpace(count) : count;
  if (allowed < count) {
    // A simulated full volume: take what fits, then fail as the system does.
    if (allowed > 0) WriteFile(toHandle(file), buffer, allowed, &done, nullptr);
    if (written) *written = done;
    SetLastError(ERROR_DISK_FULL);
    return false;
  }
  const BOOL ok = file != kInvalidHandle && WriteFile(toHandle(file), buffer, count, &done, nullptr);
  if (file == kInvalidHandle) SetLastError(ERROR_INVALID_HANDLE);
  if (written) *written = done;
  return ok != FALSE;
}

std::int64_t seekFile(NativeHandle file, std::int64_t offset, SeekOrigin origin) {
  if (file == kInvalidHandle) return -1;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER position;
  const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                       : origin == SeekOrigin::Current ? FILE_CURRENT
                                                       : FILE_END;
  if (!SetFilePointerEx(toHandle(file), distance, &position, method)) return -1;
  return position.QuadPart;
}

std::int64_t fileSize(NativeHandle file) {
  LARGE_INTEGER size;
  if (file == kInvalidHandle || !GetFileSizeEx(toHandle(file), &size)) return -1;
  return size.QuadPart;
}

bool closeFile(NativeHandle file) {
  if (file == kInvalidHandle) return true;
  return CloseHandle(toHandle(file)) != FALSE;
}

int lastError() { return static_cast<int>(GetLastError()); }

std::string errorText(int error) {
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : message;
}

bool isDiskFull(int error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

bool isInUse(int error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

FindResult findFile(const char* path, FindEntry* entry) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path, &data);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return FindResult::FileNotFound;
    if (error == ERROR_PATH_NOT_FOUND) return FindResult::PathNotFound;
    return FindResult::OtherError;
  }
  if (entry) {
    entry->name = data.cFileName;
    entry->isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry->isSpecial = (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0;
  }
  FindClose(search);
  return FindResult::Found;
}

bool listDirectory(const char* folder, std::vector<FindEntry>& entries) {
  const std::string pattern = std::string(folder) + "\\*.*";
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0});
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return true;
}

bool isDirectory(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool fullPathName(const char* path, std::string& out) {
  const DWORD needed = GetFullPathNameA(path, 0, nullptr, nullptr);
  if (needed == 0) return false;
  std::string buffer(needed + 1, '\0');
  const DWORD length = GetFullPathNameA(path, needed + 1, buffer.data(), nullptr);
  if (length == 0 || length > needed) return false;
  buffer.resize(length);
  out = buffer;
  return true;
}

std::string currentDirectory() {
  char buffer[MAX_PATH * 4];
  const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) return ".";
  return std::string(buffer, length);
}

bool changeDirectory(const char* path) { return SetCurrentDirectoryA(path) != FALSE; }
bool removeFile(const char* path) { return DeleteFileA(path) != FALSE; }
bool renameFile(const char* from, const char* to) { return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE; }
bool makeDirectory(const char* path) { return CreateDirectoryA(path, nullptr) != FALSE; }
bool removeDirectory(const char* path) { return RemoveDirectoryA(path) != FALSE; }

bool hasFreeSpace(const char* path) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  return GetDiskFreeSpaceA(path, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters) &&
         freeClusters > 0;
}

bool isLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

} // namespace plat
