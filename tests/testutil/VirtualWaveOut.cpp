#include "testutil/VirtualWaveOut.h"

#include "audio/QueuedWaveDevice.h"

#include <algorithm>
#include <chrono>

namespace testutil {

// Session data lives in the driver, under the driver's lock; the device only
// knows its session's index.
class VirtualWaveDevice : public audio::QueuedWaveDevice {
public:
  VirtualWaveDevice(VirtualWaveOut& owner, std::size_t session, const audio::WaveFormat& format, plat::Event* doneEvent)
      : QueuedWaveDevice(format, doneEvent), owner_(owner), session_(session) {}

  ~VirtualWaveDevice() override { owner_.detach(this); }

  audio::WaveResult write(audio::WaveHeader& header) override {
    {
      std::lock_guard lock(owner_.mutex_);
      if (owner_.writeResult_ != audio::WaveResult::Ok) return owner_.writeResult_;
      owner_.sessions_[session_].writtenBytes.push_back(header.bytes);
    }
    const audio::WaveResult result = QueuedWaveDevice::write(header);
    owner_.changed();
    return result;
  }

  audio::WaveResult reset() override {
    {
      std::lock_guard lock(owner_.mutex_);
      ++owner_.sessions_[session_].resets;
    }
    const audio::WaveResult result = QueuedWaveDevice::reset();
    owner_.changed();
    return result;
  }

  audio::WaveResult close() override {
    const audio::WaveResult result = QueuedWaveDevice::close();
    if (result == audio::WaveResult::Ok) owner_.detach(this);
    return result;
  }

  // Called with the driver's lock held.
  std::uint32_t playLocked(std::uint32_t frames, VirtualWaveOut::Session& session) {
    const std::uint32_t align = format().blockAlign;
    return consume(frames * align,
                   [&](const char* data, std::uint32_t bytes) {
                     const auto* samples = reinterpret_cast<const std::int16_t*>(data);
                     session.played.insert(session.played.end(), samples, samples + bytes / 2);
                   }) /
           align;
  }

  std::size_t session() const { return session_; }

private:
  VirtualWaveOut& owner_;
  std::size_t session_;
};

VirtualWaveOut::VirtualWaveOut() { audio::setWaveOutDriverOverride(this); }

VirtualWaveOut::~VirtualWaveOut() { audio::setWaveOutDriverOverride(nullptr); }

void VirtualWaveOut::setOpenResult(audio::WaveResult result) {
  std::lock_guard lock(mutex_);
  openResult_ = result;
}

void VirtualWaveOut::setQueryResult(audio::WaveResult result) {
  std::lock_guard lock(mutex_);
  queryResult_ = result;
}

void VirtualWaveOut::setWriteResult(audio::WaveResult result) {
  std::lock_guard lock(mutex_);
  writeResult_ = result;
}

audio::WaveResult VirtualWaveOut::query(const audio::WaveFormat& format) {
  std::lock_guard lock(mutex_);
  if (queryResult_ != audio::WaveResult::Ok) return queryResult_;
  return audio::isPlayableFormat(format) ? audio::WaveResult::Ok : audio::WaveResult::BadFormat;
}

audio::WaveResult VirtualWaveOut::open(std::unique_ptr<audio::WaveOutDevice>& out, const audio::WaveFormat& format,
                                       plat::Event* doneEvent) {
  {
    std::lock_guard lock(mutex_);
    if (openResult_ != audio::WaveResult::Ok) return openResult_;
    if (!audio::isPlayableFormat(format)) return audio::WaveResult::BadFormat;
    if (!doneEvent) {
      // An open without completion signal only probes the device: nothing is
      // ever played on it, so it is counted but not kept as a session.
      ++probes_;
      out = std::make_unique<audio::QueuedWaveDevice>(format, nullptr);
      return audio::WaveResult::Ok;
    }
    Session session;
    session.format = format;
    sessions_.push_back(session);
    auto device = std::make_unique<VirtualWaveDevice>(*this, sessions_.size() - 1, format, doneEvent);
    devices_.push_back(device.get());
    out = std::move(device);
  }
  changed();
  return audio::WaveResult::Ok;
}

void VirtualWaveOut::detach(VirtualWaveDevice* device) {
  {
    std::lock_guard lock(mutex_);
    const auto found = std::find(devices_.begin(), devices_.end(), device);
    if (found == devices_.end()) return;
    sessions_[device->session()].open = false;
    devices_.erase(found);
  }
  changed();
}

void VirtualWaveOut::changed() {
  { std::lock_guard lock(mutex_); }
  changed_.notify_all();
}

std::uint32_t VirtualWaveOut::play(std::uint32_t frames) {
  std::uint32_t most = 0;
  {
    std::lock_guard lock(mutex_);
    for (VirtualWaveDevice* device : devices_)
      most = std::max(most, device->playLocked(frames, sessions_[device->session()]));
  }
  changed_.notify_all();
  return most;
}

bool VirtualWaveOut::waitFor(const std::function<bool(const std::vector<Session>&)>& pred, std::uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return pred(sessions_); });
}

bool VirtualWaveOut::waitForQueued(std::size_t count, std::uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return !devices_.empty() && devices_.back()->queuedBuffers() >= count; });
}

bool VirtualWaveOut::waitForClosedSessions(std::size_t count, std::uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return sessions_.size() >= count && devices_.empty(); });
}

std::vector<VirtualWaveOut::Session> VirtualWaveOut::sessions() const {
  std::lock_guard lock(mutex_);
  return sessions_;
}

int VirtualWaveOut::probes() const {
  std::lock_guard lock(mutex_);
  return probes_;
}

std::size_t VirtualWaveOut::openDevices() const {
  std::lock_guard lock(mutex_);
  return devices_.size();
}

std::size_t VirtualWaveOut::queuedBuffers() const {
  std::lock_guard lock(mutex_);
  return devices_.empty() ? 0 : devices_.back()->queuedBuffers();
}

} // namespace testutil
