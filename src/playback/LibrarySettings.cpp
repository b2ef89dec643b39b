#include "playback/LibrarySettings.h"

#include "platform/Files.h"
#include "platform/Profile.h"

#include <atomic>
#include <cstdio>

namespace settings {
namespace {

constexpr char kFileName[] = "TkwDec32.ini";
constexpr std::size_t kDirectoryRoom = 250;
constexpr int kDefaultBlockSizeMs = 64;
constexpr int kDefaultBlockCount = 3;
// Beyond these a mixer would queue minutes of sound or allocate without bound.
constexpr int kMaxBlockSizeMs = 10000;
constexpr int kMaxBlockCount = 64;
// A preload decodes a whole sound into memory; 256 MB holds about 25 minutes
// of 44.1 kHz stereo. A 32-bit host has no room for more than 2 GB at all.
constexpr int kDefaultCacheLimitMb = 256;
constexpr int kMaxCacheLimitMb = sizeof(void*) < 8 ? 2047 : 1 << 20;

std::atomic<bool> makeLog{false};
std::atomic<std::uint32_t> blockSizeMs{kDefaultBlockSizeMs};
std::atomic<std::uint32_t> blockCount{kDefaultBlockCount};
std::atomic<std::uint32_t> cacheLimitMb{kDefaultCacheLimitMb};

// Values of 0 or less would leave the mixer nothing to play; they fall back
// to the default.
std::uint32_t Bounded(int value, int fallback, int most) {
  if (value <= 0) return static_cast<std::uint32_t>(fallback);
  return static_cast<std::uint32_t>(value < most ? value : most);
}

} // namespace

bool MakeLog() { return makeLog.load(); }
std::uint32_t BlockSizeMs() { return blockSizeMs.load(); }
std::uint32_t BlockCount() { return blockCount.load(); }
std::uint64_t CacheLimitBytes() { return std::uint64_t{cacheLimitMb.load()} << 20; }

std::string SettingsPath() {
  std::string directory = plat::currentDirectory();
  if (directory.size() >= kDirectoryRoom) directory.clear();
  if (!directory.empty() && directory.back() == plat::kPathSeparator) directory.pop_back();
  return directory + plat::kPathSeparator + kFileName;
}

void ReadLogSetting() {
  const std::string path = SettingsPath();
  makeLog = plat::profileInt("Debug", "bMakeLog", 0, path.c_str()) != 0;
}

void ReadMixerSettings() {
  const std::string path = SettingsPath();
  blockSizeMs = Bounded(plat::profileInt("Tkw_MixObject", "WaveBlockSizeMS", kDefaultBlockSizeMs, path.c_str()),
                        kDefaultBlockSizeMs, kMaxBlockSizeMs);
  blockCount = Bounded(plat::profileInt("Tkw_MixObject", "WaveBlockCnt", kDefaultBlockCount, path.c_str()),
                       kDefaultBlockCount, kMaxBlockCount);
}

void ReadCacheLimit() {
  const std::string path = SettingsPath();
  cacheLimitMb = Bounded(plat::profileInt("Tkw_SoundCache", "MaxCacheMB", kDefaultCacheLimitMb, path.c_str()),
                         kDefaultCacheLimitMb, kMaxCacheLimitMb);
}

void AppendLogLine(const char* format, std::uint32_t number) {
  std::FILE* log = std::fopen("Log.txt", "a");
  if (!log) return;
  std::fprintf(log, format, static_cast<int>(number));
  std::fclose(log);
}

} // namespace settings
