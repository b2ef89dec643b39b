// The sound card through SDL2: SDL's audio thread pulls the queued buffers.
#include "audio/NativeWaveOutDriver.h"
#include "audio/QueuedWaveDevice.h"

#include <SDL.h>

#include <cstring>
#include <mutex>

namespace audio {
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
  SdlWaveDevice(const WaveFormat& format, plat::Event* doneEvent) : QueuedWaveDevice(format, doneEvent) {}

  ~SdlWaveDevice() override {
    if (device_) SDL_CloseAudioDevice(device_);
  }

  WaveResult start() {
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
    if (device_ == 0) return WaveResult::Allocated;
    SDL_PauseAudioDevice(device_, 0);
    return WaveResult::Ok;
  }

  WaveResult close() override {
    const WaveResult result = QueuedWaveDevice::close();
    if (result == WaveResult::Ok && device_) {
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
  WaveResult query(const WaveFormat& format) override {
    if (!isPlayableFormat(format)) return WaveResult::BadFormat;
    return audioAvailable() ? WaveResult::Ok : WaveResult::NoDriver;
  }

  WaveResult open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, plat::Event* doneEvent) override {
    if (!isPlayableFormat(format)) return WaveResult::BadFormat;
    if (!audioAvailable()) return WaveResult::NoDriver;
    auto device = std::make_unique<SdlWaveDevice>(format, doneEvent);
    const WaveResult result = device->start();
    if (result != WaveResult::Ok) return result;
    out = std::move(device);
    return WaveResult::Ok;
  }
};

} // namespace

std::unique_ptr<WaveOutDriver> makeNativeWaveOutDriver() { return std::make_unique<SdlDriver>(); }

} // namespace audio
