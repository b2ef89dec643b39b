// The sound card through SDL2: SDL's audio thread pulls the queued buffers.
#include "platform/WaveOutDriver.h"
#include "platform/WaveOutQueue.h"

#include <SDL.h>

#include <cstring>
#include <mutex>

namespace plat {
namespace {

bool audioAvailable() {
  static const bool available = [] {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  }();
  return available;
}

class SdlWaveDevice : public QueuedWaveDevice {
public:
  SdlWaveDevice(const WaveFormat& format, Event* doneEvent) : QueuedWaveDevice(format, doneEvent) {}

  ~SdlWaveDevice() override {
    if (device_) SDL_CloseAudioDevice(device_);
  }

  int start() {
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = static_cast<int>(format().samplesPerSec);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format().channels);
    wanted.samples = 1024;
    wanted.callback = &SdlWaveDevice::fill;
    wanted.userdata = this;
    SDL_AudioSpec obtained;
    // SDL converts to whatever the card wants.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) return kWaveErrAllocated;
    SDL_PauseAudioDevice(device_, 0);
    return kWaveOk;
  }

  int close() override {
    const int result = QueuedWaveDevice::close();
    if (result == kWaveOk && device_) {
      SDL_CloseAudioDevice(device_);
      device_ = 0;
    }
    return result;
  }

private:
  static void SDLCALL fill(void* userdata, Uint8* stream, int length) {
    auto* self = static_cast<SdlWaveDevice*>(userdata);
    std::uint32_t offset = 0;
    self->consume(static_cast<std::uint32_t>(length), [&](const char* data, std::uint32_t bytes) {
      std::memcpy(stream + offset, data, bytes);
      offset += bytes;
    });
    std::memset(stream + offset, 0, static_cast<std::size_t>(length) - offset);
  }

  SDL_AudioDeviceID device_ = 0;
};

class SdlDriver : public WaveOutDriver {
public:
  int query(const WaveFormat& format) override {
    if (!isPlayableFormat(format)) return kWaveErrBadFormat;
    return audioAvailable() ? kWaveOk : kWaveErrNoDriver;
  }

  int open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, Event* doneEvent) override {
    if (!isPlayableFormat(format)) return kWaveErrBadFormat;
    if (!audioAvailable()) return kWaveErrNoDriver;
    auto device = std::make_unique<SdlWaveDevice>(format, doneEvent);
    const int result = device->start();
    if (result != kWaveOk) return result;
    out = std::move(device);
    return kWaveOk;
  }
};

} // namespace

std::unique_ptr<WaveOutDriver> makeNativeWaveOutDriver() { return std::make_unique<SdlDriver>(); }

} // namespace plat
