// File-system access: the only place where the operating system's file API is
// reached. Results follow the Windows semantics the rest of the code relies on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

using NativeHandle = std::intptr_t;
inline constexpr NativeHandle kInvalidHandle = -1;

enum class FileMode {
  ReadExisting = 0,    // read; open an existing file
  CreateReadWrite = 1, // read and write; create, truncating an existing file
  OpenReadWrite = 2,   // read and write; open an existing file
};

enum class SeekOrigin { Begin, Current, End };

// Opens with others allowed to read and nobody else to write, sequential scan.
// The modes that open an existing file take regular files only: a device,
// pipe or socket is refused at once (opening a pipe would wait for a writer,
// and reading a device may never end). A file another process holds open for
// writing is refused in the writing modes (isInUse tells that failure apart).
NativeHandle openFile(const char* path, FileMode mode);
bool readFile(NativeHandle file, void* buffer, std::uint32_t count, std::uint32_t* got);
bool writeFile(NativeHandle file, const void* buffer, std::uint32_t count, std::uint32_t* written);
// New absolute position, or -1 on failure.
std::int64_t seekFile(NativeHandle file, std::int64_t offset, SeekOrigin origin);
// Size in bytes, or -1 on failure.
std::int64_t fileSize(NativeHandle file);
// False when the system reports an error while closing (data not stored).
bool closeFile(NativeHandle file);
// The OS error code of the last failed call on this thread.
int lastError();
// The system's text for such a code, and whether it means a full disk.
std::string errorText(int error);
bool isDiskFull(int error);

// A volume that fills up, for tests: once `freeBytes` more bytes have been
// written through writeFile, every write fails as on a full disk, until
// it is called again with kUnlimited.
inline constexpr std::uint64_t kUnlimited = ~std::uint64_t{0};
void simulateFreeSpace(std::uint64_t freeBytes);
namespace detail {
// How many of `count` bytes the simulated volume still takes.
std::uint32_t takeFreeSpace(std::uint32_t count);
} // namespace detail
// True when the error says that another process holds the file.
bool isInUse(int error);

enum class FindResult { Found, FileNotFound, PathNotFound, OtherError };

struct FindEntry {
  std::string name;
  bool isDirectory = false;
  bool isSpecial = false; // a device, pipe or socket: there, but not a file of data
};

// Looks one path up (the last component as the directory listing names it).
FindResult findFile(const char* path, FindEntry* entry = nullptr);
// Lists a folder in the order the file system returns it, without "." and "..".
bool listDirectory(const char* folder, std::vector<FindEntry>& entries);
bool isDirectory(const char* path);

// Absolute form of a path, "." and ".." resolved, without touching the disk.
bool fullPathName(const char* path, std::string& out);
std::string currentDirectory();
bool changeDirectory(const char* path);

bool removeFile(const char* path);
bool renameFile(const char* from, const char* to); // replaces an existing target
bool makeDirectory(const char* path);
bool removeDirectory(const char* path);
// True when the volume holding the path reports at least one free cluster.
bool hasFreeSpace(const char* path);

// True for the first byte of a double-byte character in the system code page,
// so that path scans never split one (a trail byte may equal '\').
bool isLeadByte(unsigned char byte);

} // namespace plat
