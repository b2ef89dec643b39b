#include "playback/RMixChannel.h"

#include "platform/Clock.h"
#include "playback/OpenSource.h"
#include "playback/RSynchro.h"
#include "support/Exceptions.h"

#include <algorithm>

RMixChannel::RMixChannel(MixChannelContext& context) : context_(context), doneSignal_(false, false) {}

RMixChannel::~RMixChannel() = default;

std::int32_t RMixChannel::Condition() const {
  if (state_ == kQueued) return kQueued;
  return plat::tickCount() > endTick_.load() ? kIdle : kPlaying;
}

std::unique_ptr<RSoundSource> RMixChannel::MakeSource(std::uint32_t number, bool loop) {
  std::unique_ptr<RSoundSource> source = OpenSource(context_.cache, *context_.index, number, loop);
  TkwWaveFormat format{};
  source->GetFormat(format);
  // There is no resampling, and no conversion beyond one and two channels.
  if (format.samplesPerSec != context_.outFormat.samplesPerSec) throw PC_DeviceNotSupport();
  if (format.channels != 1 && format.channels != 2) throw PC_DeviceNotSupport();
  return source;
}

void RMixChannel::Start(std::uint32_t number, bool loop) {
  std::unique_ptr<RSoundSource> source = MakeSource(number, loop);
  RSynchro lock(context_.lock);
  Reset();
  pending_.push_back(std::move(source));
  state_ = kQueued;
}

void RMixChannel::Chain(std::uint32_t number) {
  std::unique_ptr<RSoundSource> source = MakeSource(number, false);
  RSynchro lock(context_.lock);
  // A chain only extends a queue that still holds a sound not yet started.
  if (pending_.empty()) return;
  pending_.push_back(std::move(source));
  state_ = kQueued;
}

void RMixChannel::Reset() {
  RSynchro lock(context_.lock);
  current_.reset();
  pending_.clear();
  block_.clear();
  hasBlock_ = false;
  state_ = kIdle;
  doneSignal_.pulse();
}

void RMixChannel::TakeNext() {
  if (pending_.empty()) {
    state_ = kIdle;
    hasBlock_ = false;
    doneSignal_.pulse();
    return;
  }
  current_ = std::move(pending_.front());
  pending_.pop_front();
  current_->GetFormat(format_);
  state_ = kPlaying;
  const double lengthMs = static_cast<double>(current_->GetLength()) * 1000.0 / format_.samplesPerSec;
  endTick_ = plat::tickCount() + static_cast<std::uint32_t>(static_cast<std::uint64_t>(lengthMs));
}

void RMixChannel::FillBlock(std::uint32_t samples) {
  if (!current_) {
    TakeNext();
    if (!current_) return;
  }
  block_.assign(samples, 0);
  ReadConverted(block_.data(), samples / context_.outFormat.channels);
  hasBlock_ = true;
}

void RMixChannel::ReadConverted(std::int16_t* dest, std::uint32_t frames) {
  const std::uint32_t outChannels = context_.outFormat.channels;
  const std::uint32_t inChannels = format_.channels;
  std::int32_t status;
  if (inChannels == 2 && outChannels == 1) {
    scratch_.resize(static_cast<std::size_t>(frames) * 2);
    status = current_->Read(scratch_.data(), frames, nullptr);
    for (std::uint32_t i = 0; i < frames; ++i)
      dest[i] = static_cast<std::int16_t>((std::int32_t{scratch_[2 * i]} + scratch_[2 * i + 1]) >> 1);
  } else if (inChannels == 1 && outChannels == 2) {
    scratch_.resize(frames);
    status = current_->Read(scratch_.data(), frames, nullptr);
    for (std::uint32_t i = 0; i < frames; ++i)
      dest[2 * i] = dest[2 * i + 1] = scratch_[i];
  } else {
    status = current_->Read(dest, frames, nullptr);
  }
  if (status == 0) return;
  // The next queued sound follows from the next block on; the state and the
  // end time stay those of the sound taken from the idle channel.
  current_.reset();
  if (!pending_.empty()) {
    current_ = std::move(pending_.front());
    pending_.pop_front();
    current_->GetFormat(format_);
  }
}
