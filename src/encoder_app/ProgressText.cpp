#include "encoder_app/ProgressText.h"

#include <algorithm>
#include <cstdio>

namespace {

template <class... Args> std::string Format(const char* format, Args... args) {
  char text[512];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

} // namespace

int ProgressPercent(std::uint64_t total, std::uint64_t done) {
  if (total == 0) return 0;
  if (done >= total) return 100;
  // done < total < 2^64 / 100 for every real file; divide first otherwise.
  if (done > UINT64_MAX / 100) return static_cast<int>(std::min<std::uint64_t>(done / (total / 100), 99));
  return static_cast<int>(done * 100 / total);
}

std::string DurationText(std::int64_t seconds) {
  if (seconds < 60) return Format("%lld秒", static_cast<long long>(seconds));
  return Format("%lld分%lld秒", static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60));
}

std::string RemainingTimeText(std::uint64_t total, std::uint64_t done, std::uint32_t elapsedMs) {
  if (2 * done < total || done == 0) return "--秒";
  const double remaining =
      static_cast<double>(elapsedMs) / static_cast<double>(done) * static_cast<double>(total - done) * 0.001;
  return DurationText(static_cast<std::int64_t>(remaining));
}

std::string ElapsedLine(std::int64_t seconds) {
  if (seconds < 60) return Format("経過時間 %lld 秒でエンコードが終了しました。", static_cast<long long>(seconds));
  return Format("経過時間 %lld 分 %lld 秒でエンコードが終了しました。", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
}

std::string RatioLine(std::uint64_t inputSize, std::uint64_t outputSize) {
  const double ratio = inputSize == 0 ? 0.0 : static_cast<double>(outputSize) / static_cast<double>(inputSize) * 100;
  return Format("%llu → %llu （圧縮率 %.1f％）", static_cast<unsigned long long>(inputSize),
                static_cast<unsigned long long>(outputSize), ratio);
}

std::string CreatingLine(const char* outputPath) { return std::string(outputPath) + " を作成中"; }
