#include "audio/record/RecordWaveOutDriver.h"

#include "audio/PacedWaveDevice.h"
#include "audio/record/RecordFile.h"

#include <mutex>

namespace audio {

namespace {

// One recording at a time: a second open while the first is still open finds
// the device allocated, as a sound card without mixing would be.
class RecordDriver : public WaveOutDriver {
public:
  RecordDriver(std::string path, bool fast) : file_(std::move(path)), fast_(fast) {}

  WaveResult query(const WaveFormat& format) override {
    return isPlayableFormat(format) ? WaveResult::Ok : WaveResult::BadFormat;
  }

  WaveResult open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, plat::Event* doneEvent) override {
    if (!isPlayableFormat(format)) return WaveResult::BadFormat;
    std::lock_guard lock(mutex_);
    if (inUse_) return WaveResult::Allocated;
    if (!doneEvent) {
      // A probe of the device: nothing will be played, so no file is begun.
      out = std::make_unique<QueuedWaveDevice>(format, nullptr);
      return WaveResult::Ok;
    }
    if (!file_.begin(format)) return WaveResult::NoDriver;
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
    return WaveResult::Ok;
  }

private:
  std::mutex mutex_;
  RecordFile file_;
  bool fast_;
  bool inUse_ = false;
};

} // namespace

std::unique_ptr<WaveOutDriver> makeRecordWaveOutDriver(const std::string& path, bool fast) {
  return std::make_unique<RecordDriver>(path, fast);
}

} // namespace audio
