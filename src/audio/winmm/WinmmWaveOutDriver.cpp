// The sound card through the multimedia API. Completions arrive on winmm's
// own thread through the callback, which marks the buffer done and sets the
// owner's event.
#include "audio/NativeWaveOutDriver.h"
#include "audio/winmm/WinmmResult.h"
#include "platform/Sync.h"

namespace audio {
namespace {

WAVEFORMATEX toNative(const WaveFormat& format) {
  WAVEFORMATEX native{};
  native.wFormatTag = format.formatTag;
  native.nChannels = format.channels;
  native.nSamplesPerSec = format.samplesPerSec;
  native.nAvgBytesPerSec = format.avgBytesPerSec;
  native.nBlockAlign = format.blockAlign;
  native.wBitsPerSample = format.bitsPerSample;
  native.cbSize = format.extraSize;
  return native;
}

class WinmmDevice : public WaveOutDevice {
public:
  explicit WinmmDevice(plat::Event* doneEvent) : doneEvent_(doneEvent) {}

  ~WinmmDevice() override {
    if (handle_) {
      waveOutReset(handle_);
      waveOutClose(handle_);
    }
  }

  WaveResult start(const WaveFormat& format) {
    WAVEFORMATEX native = toNative(format);
    const MMRESULT result = waveOutOpen(&handle_, WAVE_MAPPER, &native, reinterpret_cast<DWORD_PTR>(&callback),
                                        reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) handle_ = nullptr;
    return fromMmResult(result);
  }

  WaveResult prepare(WaveHeader& header) override {
    // Headers live in movable, shareable global memory, as the driver expects.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, sizeof(WAVEHDR));
    if (!memory) return WaveResult::NoMemory;
    auto* native = static_cast<WAVEHDR*>(GlobalLock(memory));
    native->lpData = const_cast<LPSTR>(header.data);
    native->dwBufferLength = header.bytes;
    native->dwUser = reinterpret_cast<DWORD_PTR>(&header);
    const MMRESULT result = waveOutPrepareHeader(handle_, native, sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) {
      freeNative(native);
      return fromMmResult(result);
    }
    header.native = native;
    header.flags.fetch_or(kWaveHeaderPrepared, std::memory_order_acq_rel);
    return WaveResult::Ok;
  }

  WaveResult write(WaveHeader& header) override {
    if (!header.native) return WaveResult::Unprepared;
    header.flags.fetch_and(~kWaveHeaderDone, std::memory_order_acq_rel);
    return fromMmResult(waveOutWrite(handle_, static_cast<WAVEHDR*>(header.native), sizeof(WAVEHDR)));
  }

  WaveResult unprepare(WaveHeader& header) override {
    auto* native = static_cast<WAVEHDR*>(header.native);
    if (!native) return WaveResult::Ok;
    const MMRESULT result = waveOutUnprepareHeader(handle_, native, sizeof(WAVEHDR));
    if (result == WAVERR_STILLPLAYING) return WaveResult::StillPlaying;
    freeNative(native);
    header.native = nullptr;
    header.flags.fetch_and(~kWaveHeaderPrepared, std::memory_order_acq_rel);
    return fromMmResult(result);
  }

  WaveResult reset() override { return fromMmResult(waveOutReset(handle_)); }

  WaveResult close() override {
    const MMRESULT result = waveOutClose(handle_);
    if (result == MMSYSERR_NOERROR) handle_ = nullptr;
    return fromMmResult(result);
  }

private:
  static void freeNative(WAVEHDR* native) {
    HGLOBAL memory = GlobalHandle(native);
    GlobalUnlock(memory);
    GlobalFree(memory);
  }

  static void CALLBACK callback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR parameter, DWORD_PTR) {
    if (message != WOM_DONE) return;
    auto* self = reinterpret_cast<WinmmDevice*>(instance);
    auto* native = reinterpret_cast<WAVEHDR*>(parameter);
    auto* header = reinterpret_cast<WaveHeader*>(native->dwUser);
    header->flags.fetch_or(kWaveHeaderDone, std::memory_order_release);
    if (self->doneEvent_) self->doneEvent_->set();
  }

  HWAVEOUT handle_ = nullptr;
  plat::Event* doneEvent_;
};

class WinmmDriver : public WaveOutDriver {
public:
  WaveResult query(const WaveFormat& format) override {
    WAVEFORMATEX native = toNative(format);
    return fromMmResult(waveOutOpen(nullptr, WAVE_MAPPER, &native, 0, 0, WAVE_FORMAT_QUERY));
  }

  WaveResult open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, plat::Event* doneEvent) override {
    auto device = std::make_unique<WinmmDevice>(doneEvent);
    const WaveResult result = device->start(format);
    if (result != WaveResult::Ok) return result;
    out = std::move(device);
    return WaveResult::Ok;
  }
};

} // namespace

std::unique_ptr<WaveOutDriver> makeNativeWaveOutDriver() { return std::make_unique<WinmmDriver>(); }

} // namespace audio
