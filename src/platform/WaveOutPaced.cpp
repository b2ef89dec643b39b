// The devices for machines without a sound card: a silent one that plays in
// real time and a recording one that writes what it plays to a WAV file.
#include "platform/WaveOutDriver.h"
#include "platform/WaveOutQueue.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace plat {
namespace {

using Clock = std::chrono::steady_clock;

// Buffers are played in slices this long, so that a reset cuts a buffer short
// as a sound card does.
constexpr std::uint32_t kSliceMs = 10;

// Plays its queue from a thread of its own, paced by the wall clock unless
// fast, handing every played byte to sink.
class PacedWaveDevice : public QueuedWaveDevice {
public:
  PacedWaveDevice(const WaveFormat& format, Event* doneEvent, bool fast, Sink sink, std::function<void()> onClose)
      : QueuedWaveDevice(format, doneEvent), fast_(fast), sink_(std::move(sink)), onClose_(std::move(onClose)) {
    player_ = std::thread([this] { run(); });
  }

  ~PacedWaveDevice() override {
    {
      std::lock_guard lock(mutex_);
      if (!closed_) {
        closed_ = true;
        onClosed();
      }
    }
    changed_.notify_all();
    if (player_.joinable()) player_.join();
  }

  int close() override {
    const int result = QueuedWaveDevice::close();
    if (result == kWaveOk && player_.joinable()) player_.join();
    return result;
  }

protected:
  void onClosed() override {
    if (onClose_) onClose_();
  }

private:
  void run() {
    const std::uint32_t sliceBytes = sliceSize();
    std::unique_lock lock(mutex_);
    bool clockRunning = false;
    Clock::time_point start;
    std::uint64_t playedBytes = 0;
    while (!closed_) {
      if (queue_.empty()) {
        clockRunning = false;
        changed_.wait(lock, [this] { return closed_ || !queue_.empty(); });
        continue;
      }
      if (!clockRunning) {
        start = Clock::now();
        playedBytes = 0;
        clockRunning = true;
      }
      if (fast_) {
        consumeLocked(queuedBytesLocked(), sink_);
        continue;
      }
      playedBytes += consumeLocked(sliceBytes, sink_);
      const auto due = start + std::chrono::microseconds(playedBytes * 1000000 / format().avgBytesPerSec);
      changed_.wait_until(lock, due, [this] { return closed_; });
    }
  }

  std::uint32_t sliceSize() const {
    const std::uint32_t bytes = format().avgBytesPerSec / (1000 / kSliceMs);
    const std::uint32_t align = format().blockAlign ? format().blockAlign : 1;
    return bytes < align ? align : bytes - bytes % align;
  }

  bool fast_;
  Sink sink_;
  std::function<void()> onClose_;
  std::thread player_;
};

class SilentDriver : public WaveOutDriver {
public:
  int query(const WaveFormat& format) override { return isPlayableFormat(format) ? kWaveOk : kWaveErrBadFormat; }

  int open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, Event* doneEvent) override {
    if (!isPlayableFormat(format)) return kWaveErrBadFormat;
    out = std::make_unique<PacedWaveDevice>(format, doneEvent, false, QueuedWaveDevice::Sink(), nullptr);
    return kWaveOk;
  }
};

// One WAV file that every opening of the device appends to while the format
// stays the same; a new format starts the next file (name-2.wav, ...). The
// header is brought up to date at every close, so the file is complete
// whenever no device is open.
class RecordFile {
public:
  explicit RecordFile(std::string path) : basePath_(std::move(path)) {}
  ~RecordFile() { finish(); }

  bool begin(const WaveFormat& format) {
    if (file_ && sameFormat(format)) return true;
    finish();
    format_ = format;
    ++fileCount_;
    file_ = std::fopen(currentPath().c_str(), "wb");
    dataBytes_ = 0;
    if (!file_) return false;
    writeHeader();
    return true;
  }

  void append(const char* data, std::uint32_t bytes) {
    if (!file_ || dataBytes_ + bytes > kMaxDataBytes) return;
    dataBytes_ += static_cast<std::uint32_t>(std::fwrite(data, 1, bytes, file_));
  }

  void updateHeader() {
    if (!file_) return;
    writeHeader();
    std::fseek(file_, 0, SEEK_END);
    std::fflush(file_);
  }

private:
  static constexpr std::uint32_t kMaxDataBytes = 0xFFFFFFFFu - 36;

  bool sameFormat(const WaveFormat& format) const {
    return format.channels == format_.channels && format.samplesPerSec == format_.samplesPerSec;
  }

  std::string currentPath() const {
    if (fileCount_ <= 1) return basePath_;
    const std::size_t dot = basePath_.rfind('.');
    const std::size_t slash = basePath_.find_last_of("/\\");
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExtension ? basePath_.substr(0, dot) : basePath_;
    const std::string extension = hasExtension ? basePath_.substr(dot) : ".wav";
    return stem + "-" + std::to_string(fileCount_) + extension;
  }

  void put16(unsigned char* at, std::uint32_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
  }
  void put32(unsigned char* at, std::uint32_t value) {
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
  }

  void writeHeader() {
    unsigned char header[44] = {'R', 'I', 'F', 'F', 0, 0, 0,   0,   'W', 'A', 'V', 'E', 'f', 'm', 't',
                                ' ', 16,  0,   0,   0, 0, 0,   0,   0,   0,   0,   0,   0,   0,   0,
                                0,   0,   0,   0,   0, 0, 'd', 'a', 't', 'a', 0,   0,   0,   0};
    put32(header + 4, 36 + dataBytes_);
    put16(header + 20, 1);
    put16(header + 22, format_.channels);
    put32(header + 24, format_.samplesPerSec);
    put32(header + 28, format_.avgBytesPerSec);
    put16(header + 32, format_.blockAlign);
    put16(header + 34, 16);
    put32(header + 40, dataBytes_);
    std::fseek(file_, 0, SEEK_SET);
    std::fwrite(header, 1, sizeof header, file_);
  }

  void finish() {
    if (!file_) return;
    updateHeader();
    std::fclose(file_);
    file_ = nullptr;
  }

  std::string basePath_;
  int fileCount_ = 0;
  std::FILE* file_ = nullptr;
  WaveFormat format_;
  std::uint32_t dataBytes_ = 0;
};

// One recording at a time: a second open while the first is still open finds
// the device allocated, as a sound card without mixing would be.
class RecordDriver : public WaveOutDriver {
public:
  RecordDriver(std::string path, bool fast) : file_(std::move(path)), fast_(fast) {}

  int query(const WaveFormat& format) override { return isPlayableFormat(format) ? kWaveOk : kWaveErrBadFormat; }

  int open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, Event* doneEvent) override {
    if (!isPlayableFormat(format)) return kWaveErrBadFormat;
    std::lock_guard lock(mutex_);
    if (inUse_) return kWaveErrAllocated;
    if (!doneEvent) {
      // A probe of the device: nothing will be played, so no file is begun.
      out = std::make_unique<QueuedWaveDevice>(format, nullptr);
      return kWaveOk;
    }
    if (!file_.begin(format)) return kWaveErrNoDriver;
    inUse_ = true;
    auto sink = [this](const char* data, std::uint32_t bytes) {
      std::lock_guard fileLock(mutex_);
      file_.append(data, bytes);
    };
    auto onClose = [this] {
      std::lock_guard fileLock(mutex_);
      file_.updateHeader();
      inUse_ = false;
    };
    out = std::make_unique<PacedWaveDevice>(format, doneEvent, fast_, sink, onClose);
    return kWaveOk;
  }

private:
  std::mutex mutex_;
  RecordFile file_;
  bool fast_;
  bool inUse_ = false;
};

} // namespace

std::unique_ptr<WaveOutDriver> makeSilentWaveOutDriver() { return std::make_unique<SilentDriver>(); }

std::unique_ptr<WaveOutDriver> makeRecordWaveOutDriver(const std::string& path, bool fast) {
  return std::make_unique<RecordDriver>(path, fast);
}

} // namespace plat
