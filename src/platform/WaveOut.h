// The wave-out device: open the default output for a PCM format, hand it
// buffers, learn through a flag and an event when each one has been played,
// reset it to get every queued buffer back at once, close it.
//
// Result codes are those of the Windows multimedia calls, so callers react to
// the same values on every platform.
//
// Which device is used is chosen once per process: Windows plays through
// winmm; elsewhere the environment variable TKW_AUDIO_DEVICE selects it:
//   sdl (default elsewhere)  the sound card, through SDL2
//   winmm (default on Windows) the sound card, through the multimedia API
//   silent                   consumes buffers in real time, plays nothing
//   record:<file.wav>[:fast] writes what it receives to a WAV file, in real
//                            time or, with ":fast", as fast as it is fed
// The silent and record devices exist on Windows too; tests use a device
// whose clock they advance (WaveOutVirtual.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

class Event;

inline constexpr int kWaveOk = 0;               // MMSYSERR_NOERROR
inline constexpr int kWaveErrBadDevice = 2;     // MMSYSERR_BADDEVICEID: no device at all
inline constexpr int kWaveErrAllocated = 4;     // MMSYSERR_ALLOCATED: held by someone else
inline constexpr int kWaveErrInvalidHandle = 5; // MMSYSERR_INVALHANDLE
inline constexpr int kWaveErrNoDriver = 6;      // MMSYSERR_NODRIVER
inline constexpr int kWaveErrInvalidParam = 11; // MMSYSERR_INVALPARAM
inline constexpr int kWaveErrBadFormat = 32;    // WAVERR_BADFORMAT
inline constexpr int kWaveErrStillPlaying = 33; // WAVERR_STILLPLAYING
inline constexpr int kWaveErrUnprepared = 34;   // WAVERR_UNPREPARED

// The 18-byte WAVEFORMATEX fields, unpacked.
struct WaveFormat {
  std::uint16_t formatTag = 1;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 16;
  std::uint16_t extraSize = 0;
};

// 16-bit PCM with the derived fields filled in.
WaveFormat pcm16Format(std::uint16_t channels, std::uint32_t samplesPerSec);

// The formats every device here plays: PCM, 16 bits, one or two channels,
// consistent derived fields, a rate between 1000 and 192000.
bool isPlayableFormat(const WaveFormat& format);

inline constexpr std::uint32_t kWaveHeaderDone = 0x01;     // WHDR_DONE
inline constexpr std::uint32_t kWaveHeaderPrepared = 0x02; // WHDR_PREPARED
inline constexpr std::uint32_t kWaveHeaderInQueue = 0x10;  // WHDR_INQUEUE

// One buffer handed to a device. The caller keeps data alive until the header
// is done (or the device refused it) and unprepared.
struct WaveHeader {
  const char* data = nullptr;
  std::uint32_t bytes = 0;
  std::atomic<std::uint32_t> flags{0};
  void* native = nullptr; // the backend's own record of the buffer

  bool done() const { return (flags.load(std::memory_order_acquire) & kWaveHeaderDone) != 0; }
};

// One opened device. write and reset may run on different threads; the others
// belong to the thread that opened it.
class WaveOutDevice {
public:
  virtual ~WaveOutDevice() = default;
  virtual int prepare(WaveHeader& header) = 0;
  virtual int write(WaveHeader& header) = 0;
  virtual int unprepare(WaveHeader& header) = 0;
  // Stops playback: every queued buffer is marked done at once.
  virtual int reset() = 0;
  // kWaveErrStillPlaying while buffers are queued; the device is then still open.
  virtual int close() = 0;
};

// Asks whether the default device plays the format (WAVE_FORMAT_QUERY).
int waveOutQuery(const WaveFormat& format);

// Opens the default device. doneEvent, when given, is set each time a buffer
// finishes (and must outlive the device). On failure out stays null.
int waveOutOpen(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, Event* doneEvent);

// The device TKW_AUDIO_DEVICE names, as a text for messages ("sdl", "silent", ...).
std::string waveOutDeviceName();

} // namespace plat
