// The sound card through the multimedia API. Completions arrive on winmm's
// own thread through the callback, which marks the buffer done and sets the
// owner's event.
#include "platform/Sync.h"
#include "platform/WaveOutDriver.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace plat {
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
  explicit WinmmDevice(Event* doneEvent) : doneEvent_(doneEvent) {}

  ~WinmmDevice() override {
    if (handle_) {
      waveOutReset(handle_);
      waveOutClose(handle_);
    }
  }

  int start(const WaveFormat& format) {
    WAVEFORMATEX native = toNative(format);
    const MMRESULT result = waveOutOpen(&handle_, WAVE_MAPPER, &native, reinterpret_cast<DWORD_PTR>(&callback),
                                        reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) handle_ = nullptr;
    return static_cast<int>(result);
  }

  int prepare(WaveHeader& header) override {
    // Headers live in movable, shareable global memory, as the driver expects.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, sizeof(WAVEHDR));
    if (!memory) return MMSYSERR_NOMEM;
    auto* native = static_cast<WAVEHDR*>(GlobalLock(memory));
    native->lpData = const_cast<LPSTR>(header.data);
    native->dwBufferLength = header.bytes;
    native->dwUser = reinterpret_cast<DWORD_PTR>(&header);
    const MMRESULT result = waveOutPrepareHeader(handle_, native, sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) {
      freeNative(native);
      return static_cast<int>(result);
    }
    header.native = native;
    header.flags.fetch_or(kWaveHeaderPrepared, std::memory_order_acq_rel);
    return kWaveOk;
  }

  int write(WaveHeader& header) override {
    if (!header.native) return WAVERR_UNPREPARED;
    header.flags.fetch_and(~kWaveHeaderDone, std::memory_order_acq_rel);
    return static_cast<int>(waveOutWrite(handle_, static_cast<WAVEHDR*>(header.native), sizeof(WAVEHDR)));
  }

  int unprepare(WaveHeader& header) override {
    auto* native = static_cast<WAVEHDR*>(header.native);
    if (!native) return kWaveOk;
    const MMRESULT result = waveOutUnprepareHeader(handle_, native, sizeof(WAVEHDR));
    if (result == WAVERR_STILLPLAYING) return static_cast<int>(result);
    freeNative(native);
    header.native = nullptr;
    header.flags.fetch_and(~kWaveHeaderPrepared, std::memory_order_acq_rel);
    return static_cast<int>(result);
  }

  int reset() override { return static_cast<int>(waveOutReset(handle_)); }

  int close() override {
    const MMRESULT result = waveOutClose(handle_);
    if (result == MMSYSERR_NOERROR) handle_ = nullptr;
    return static_cast<int>(result);
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
  Event* doneEvent_;
};

class WinmmDriver : public WaveOutDriver {
public:
  int query(const WaveFormat& format) override {
    WAVEFORMATEX native = toNative(format);
    return static_cast<int>(waveOutOpen(nullptr, WAVE_MAPPER, &native, 0, 0, WAVE_FORMAT_QUERY));
  }

  int open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, Event* doneEvent) override {
    auto device = std::make_unique<WinmmDevice>(doneEvent);
    const int result = device->start(format);
    if (result != kWaveOk) return result;
    out = std::move(device);
    return kWaveOk;
  }
};

} // namespace

std::unique_ptr<WaveOutDriver> makeNativeWaveOutDriver() { return std::make_unique<WinmmDriver>(); }

} // namespace plat
