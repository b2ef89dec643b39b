#include "playback/RMixer.h"

#include "playback/LibrarySettings.h"
#include "playback/RSynchro.h"
#include "support/Exceptions.h"

#include <algorithm>

void MixInto(std::vector<std::int64_t>& sums, const std::vector<std::int16_t>& block, std::int32_t volume) {
  // 64-bit products: any volume a host sets scales without wrapping around.
  const std::int64_t gain = volume;
  const std::size_t count = std::min(sums.size(), block.size());
  for (std::size_t i = 0; i < count; ++i)
    sums[i] += (gain * block[i]) >> 8;
}

std::int16_t ClipSample(std::int64_t sum) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(sum, -32768, 32767));
}

std::shared_ptr<RMixer> RMixer::Create(std::unique_ptr<SoundIndex> index) {
  // The constructor is private, so make_shared cannot reach it.
  std::shared_ptr<RMixer> mixer(new RMixer(std::move(index)));
  // The thread keeps the mixer alive for as long as it runs.
  mixer->thread_ = std::thread([self = mixer] { self->Run(); });
  return mixer;
}

RMixer::RMixer(std::unique_ptr<SoundIndex> index)
    : context_(std::move(index)), startEvent_(true, false), finished_(true, false) {
  context_.closeChannel = [this](RMixChannel* channel) { CloseChannel(channel); };
  settings::ReadMixerSettings();
  settings::ReadCacheLimit();
}

RMixer::~RMixer() {
  if (thread_.joinable()) thread_.detach();
}

void RMixer::Open(std::uint32_t formatWord) {
  const std::uint16_t channels = (formatWord & kMonoFlag) ? 1 : 2;
  std::uint32_t rate = formatWord & ~kMonoFlag;
  if (rate == 0) rate = kDefaultRate;
  TkwWaveFormat& outFormat = context_.outFormat;
  outFormat = TkwWaveFormat{};
  outFormat.formatTag = 1;
  outFormat.channels = channels;
  outFormat.samplesPerSec = rate;
  outFormat.blockAlign = static_cast<std::uint16_t>(channels * 2);
  outFormat.avgBytesPerSec = rate * outFormat.blockAlign;
  outFormat.bitsPerSample = 16;
  framesPerBlock_ = static_cast<std::uint32_t>(static_cast<std::uint64_t>(rate) * settings::BlockSizeMs() / 1000);
  samplesPerBlock_ = framesPerBlock_ * channels;
  sums_.assign(samplesPerBlock_, 0);

  const audio::WaveResult result = device_.Open(outFormat);
  if (result == audio::WaveResult::BadFormat) throw PM_DeviceNotSupport();
  // Any other failure leaves no device to play on: reporting success would
  // leave the host with a mixer that never plays.
  if (result != audio::WaveResult::Ok) throw PM_WaveDeviceAllocated();
  running_ = true;
  startEvent_.set();
}

void RMixer::Reset() {
  {
    RSynchro lock(context_.lock);
    for (auto& channel : channels_)
      channel->Reset();
  }
  device_.Reset();
}

void RMixer::Shutdown() {
  running_ = false;
  Reset();
  context_.cache.ReleaseAll();
  // A mixer whose open failed has a thread still waiting to start.
  startEvent_.set();
  const bool ended = finished_.wait(kThreadWaitMs);
  {
    RSynchro lock(context_.lock);
    while (!channels_.empty())
      CloseChannel(channels_.front().get());
  }
  if (ended)
    thread_.join();
  else
    thread_.detach();
}

RMixChannel* RMixer::OpenChannel() {
  auto channel = std::make_unique<RMixChannel>(context_);
  RMixChannel* handle = channel.get();
  RSynchro lock(context_.lock);
  channels_.push_back(std::move(channel));
  return handle;
}

void RMixer::CloseChannel(RMixChannel* channel) {
  RSynchro lock(context_.lock);
  const auto found =
      std::find_if(channels_.begin(), channels_.end(), [&](const auto& owned) { return owned.get() == channel; });
  if (found == channels_.end()) return;
  channel->Reset();
  channels_.erase(found);
}

std::vector<std::int16_t> RMixer::MixBlock() {
  RSynchro lock(context_.lock);
  for (auto& channel : channels_) {
    RSynchro again(context_.lock);
    channel->FillBlock(samplesPerBlock_);
  }
  std::fill(sums_.begin(), sums_.end(), 0);
  for (auto& channel : channels_)
    if (channel->HasBlock()) MixInto(sums_, channel->Block(), channel->Volume());
  std::vector<std::int16_t> mixed(samplesPerBlock_);
  std::transform(sums_.begin(), sums_.end(), mixed.begin(), ClipSample);
  return mixed;
}

void RMixer::Run() {
  startEvent_.wait(plat::kWaitForever);
  while (running_) {
    const std::int32_t wanted = static_cast<std::int32_t>(settings::BlockCount());
    for (std::int32_t i = inFlight_; i < wanted; ++i) {
      device_.Write(MixBlock(), framesPerBlock_);
      ++inFlight_;
    }
    // A close that came while we mixed has already reset the device; what we
    // wrote since then is handed back below rather than waited for.
    if (!running_) break;
    inFlight_ -= device_.Reap();
  }
  device_.Reset();
  device_.Drain();
  device_.Close();
  startEvent_.reset();
  finished_.set();
}
