#include "playback/RPlayer.h"

#include "audio/WaveOut.h"
#include "platform/Clock.h"
#include "playback/OpenSource.h"
#include "playback/RSynchro.h"
#include "support/Exceptions.h"

namespace {

constexpr std::uint32_t kBufferSeconds = 2;
constexpr std::int32_t kBuffersQueued = 2;

// The format the idle condition check opens the device with.
TkwWaveFormat ProbeFormat() {
  TkwWaveFormat format{};
  format.formatTag = 1;
  format.channels = 1;
  format.samplesPerSec = 22050;
  format.avgBytesPerSec = 44100;
  format.blockAlign = 2;
  format.bitsPerSample = 16;
  format.extraSize = 18;
  return format;
}

} // namespace

RPlayer::RPlayer(SoundIndex& index)
    : index_(index), wakeEvent_(true, false), started_(true, false), cache_(SoundCache::Owner::Player) {
  thread_ = std::thread([this] { Run(); });
  started_.wait(plat::kWaitForever);
}

RPlayer::~RPlayer() {
  StopPlayback();
  cache_.ReleaseAll();
  {
    RSynchro lock(lock_);
    quit_ = true;
    wakeEvent_.set();
  }
  thread_.join();
  // Sources left behind by a request that raced the close.
  pending_.clear();
}

std::unique_ptr<RSoundSource> RPlayer::MakeSource(std::uint32_t number, bool loop) {
  std::unique_ptr<RSoundSource> source = OpenSource(cache_, index_, number, loop);
  TkwWaveFormat format{};
  source->GetFormat(format);
  const audio::WaveFormat native = ToDeviceFormat(format);
  if (audio::waveOutQuery(native) == audio::WaveResult::BadFormat) throw PC_DeviceNotSupport();
  if (state_ == kIdle) {
    std::unique_ptr<audio::WaveOutDevice> trial;
    if (audio::waveOutOpen(trial, native, nullptr) == audio::WaveResult::Allocated) throw PC_WaveDeviceAllocated();
    if (trial) trial->close();
  }
  return source;
}

void RPlayer::Start(std::uint32_t number, bool loop) { Enqueue(MakeSource(number, loop), true); }

void RPlayer::Chain(std::uint32_t number) { Enqueue(MakeSource(number, false), false); }

void RPlayer::Enqueue(std::unique_ptr<RSoundSource> source, bool replace) {
  RSynchro lock(lock_);
  if (replace && state_ != kIdle) StopLocked();
  pending_.push_back(std::move(source));
  // Under the lock, so the play thread cannot go idle between our look at the
  // state and its look at the queue.
  if (state_ == kIdle) {
    state_ = kStarting;
    wakeEvent_.set();
  }
}

void RPlayer::StopPlayback() {
  RSynchro lock(lock_);
  StopLocked();
}

void RPlayer::StopLocked() {
  if (state_ == kIdle) return;
  moreData_ = false;
  pending_.clear();
  device_.Reset();
}

std::int32_t RPlayer::Condition() {
  const std::int32_t state = state_;
  if (state != kIdle) return state;
  std::unique_ptr<audio::WaveOutDevice> trial;
  const audio::WaveResult result = audio::waveOutOpen(trial, ToDeviceFormat(ProbeFormat()), nullptr);
  if (trial) trial->close();
  return result == audio::WaveResult::Ok ? kIdle : kNoDevice;
}

RPlayer::Position RPlayer::GetPosition() const {
  return Position{lengthMs_.load(), plat::tickCount() - startTick_.load()};
}

void RPlayer::Run() {
  started_.set();
  for (;;) {
    std::unique_ptr<RSoundSource> source;
    {
      RSynchro lock(lock_);
      if (!pending_.empty()) {
        source = std::move(pending_.front());
        pending_.pop_front();
        // Set as the sound is taken, so a stop that comes after this still ends it.
        moreData_ = true;
      } else {
        state_ = kIdle;
        wakeEvent_.reset();
      }
    }
    if (source) {
      PlayOne(*source);
      source.reset();
      // Between two sounds, and until the thread finds nothing more to play.
      state_ = kStarting;
      continue;
    }
    if (quit_) return;
    wakeEvent_.wait(plat::kWaitForever);
  }
}

void RPlayer::PlayOne(RSoundSource& source) {
  TkwWaveFormat format{};
  source.GetFormat(format);
  const std::uint32_t rate = format.samplesPerSec;
  if (rate == 0 || device_.Open(format) != audio::WaveResult::Ok) {
    // Nothing given to a device that did not open would ever come back: the
    // sound is skipped.
    device_.Close();
    wakeEvent_.reset();
    return;
  }
  const std::uint32_t framesPerBuffer = kBufferSeconds * rate;
  lengthMs_ = static_cast<std::uint32_t>(static_cast<std::uint64_t>(source.GetLength()) * 1000 / rate);
  startTick_ = plat::tickCount();
  inFlight_ = 0;
  try {
    for (;;) {
      if (inFlight_ == 1) {
        FillBuffer(source, framesPerBuffer, format.channels);
        ++inFlight_;
      } else {
        for (std::int32_t i = inFlight_; i < kBuffersQueued; ++i) {
          FillBuffer(source, framesPerBuffer, format.channels);
          ++inFlight_;
        }
        state_ = kStreaming;
      }
      inFlight_ -= device_.Reap();
    }
  } catch (const PP_EndPlay&) {
  }
  while (inFlight_ > 0)
    inFlight_ -= device_.Reap();
  device_.Close();
  wakeEvent_.reset();
}

void RPlayer::FillBuffer(RSoundSource& source, std::uint32_t framesPerBuffer, std::uint32_t channels) {
  RSynchro lock(lock_);
  if (!moreData_) throw PP_EndPlay();
  std::vector<std::int16_t> samples(static_cast<std::size_t>(framesPerBuffer) * channels);
  std::uint32_t got = 0;
  if (source.Read(samples.data(), framesPerBuffer, &got) != 0) moreData_ = false;
  device_.Write(std::move(samples), got);
}
