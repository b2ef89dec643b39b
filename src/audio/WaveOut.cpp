#include "audio/WaveOut.h"

#include "audio/NativeWaveOutDriver.h"
#include "audio/WaveOutDriver.h"
#include "audio/record/RecordWaveOutDriver.h"
#include "audio/silent/SilentWaveOutDriver.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace audio {

namespace {

constexpr char kRecordPrefix[] = "record:";
constexpr char kFastSuffix[] = ":fast";

std::atomic<WaveOutDriver*> driverOverride{nullptr};

std::string selectionFromEnvironment() {
  const char* value = std::getenv("TKW_AUDIO_DEVICE");
  return value ? value : "";
}

WaveOutDriver& processDriver() {
  static std::unique_ptr<WaveOutDriver> driver = [] {
    const std::string selection = selectionFromEnvironment();
    std::unique_ptr<WaveOutDriver> chosen = makeWaveOutDriver(selection);
    if (!chosen) {
      std::fprintf(stderr, "TKW_AUDIO_DEVICE=%s is not a known device; using the sound card\n", selection.c_str());
      chosen = makeNativeWaveOutDriver();
    }
    return chosen;
  }();
  return *driver;
}

WaveOutDriver& currentDriver() {
  WaveOutDriver* installed = driverOverride.load(std::memory_order_acquire);
  return installed ? *installed : processDriver();
}

bool endsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

std::unique_ptr<WaveOutDriver> makeWaveOutDriver(const std::string& selection) {
  if (selection.empty() || selection == "sdl" || selection == "winmm") return makeNativeWaveOutDriver();
  if (selection == "silent") return makeSilentWaveOutDriver();
  if (selection.rfind(kRecordPrefix, 0) == 0) {
    std::string path = selection.substr(sizeof kRecordPrefix - 1);
    const bool fast = endsWith(path, kFastSuffix);
    if (fast) path.resize(path.size() - (sizeof kFastSuffix - 1));
    if (path.empty()) return nullptr;
    return makeRecordWaveOutDriver(path, fast);
  }
  return nullptr;
}

void setWaveOutDriverOverride(WaveOutDriver* driver) { driverOverride.store(driver, std::memory_order_release); }

std::string waveOutDeviceName() {
  const std::string selection = selectionFromEnvironment();
  if (selection.empty()) {
#ifdef _WIN32
    return "winmm";
#else
    return "sdl";
#endif
  }
  return selection;
}

WaveResult waveOutQuery(const WaveFormat& format) { return currentDriver().query(format); }

WaveResult waveOutOpen(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, plat::Event* doneEvent) {
  out.reset();
  return currentDriver().open(out, format, doneEvent);
}

} // namespace audio
