#include "encoder_app/EncodeProgress.h"

#include "encoder_app/ProgressText.h"
#include "platform/Clock.h"
#include "support/Exceptions.h"

EncodeProgress::EncodeProgress(ProgressView& view, const StopSignal& stop, Clock clock)
    : view_(view), stop_(stop), clock_(clock ? std::move(clock) : Clock(plat::tickCount)) {}

void EncodeProgress::OnFileStart(const char* wavePath, const char* outputPath) {
  view_.ShowFiles(wavePath, outputPath);
  // The previous file's "0秒" would stand until the first update a second later.
  view_.ShowProgress(0, "--秒");
  fileStart_ = lastUpdate_ = clock_();
  WriteLog(CreatingLine(outputPath).c_str());
}

void EncodeProgress::OnProgress(std::uint64_t total, std::uint64_t done) {
  if (stop_.Requested()) throw User_Cannceled{};
  const std::uint32_t now = clock_();
  // Unsigned differences stay right across the tick count's wrap.
  if (now - lastUpdate_ < kUpdateIntervalMs) return;
  view_.ShowProgress(ProgressPercent(total, done), RemainingTimeText(total, done, now - fileStart_));
  lastUpdate_ = now;
}

void EncodeProgress::OnFileEnd(std::uint64_t inputSize, std::uint64_t outputSize) {
  const std::uint32_t elapsedSeconds = (clock_() - fileStart_) / 1000;
  WriteLog(ElapsedLine(elapsedSeconds).c_str());
  WriteLog(RatioLine(inputSize, outputSize).c_str());
  WriteLog(" ");
  view_.ShowProgress(100, "0秒");
}
