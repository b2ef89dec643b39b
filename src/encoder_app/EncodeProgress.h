// The engine's callbacks for a front end that shows progress: current files,
// bar percent and remaining-time text (at most once a second), and the log
// lines at the start and end of each file. The stop signal turns the next
// progress call into User_Cannceled.
#pragma once

#include "encoder/EncoderCallbacks.h"
#include "encoder_app/StopSignal.h"

#include <cstdint>
#include <functional>
#include <string>

class ProgressView {
public:
  virtual ~ProgressView() = default;
  virtual void ShowFiles(const char* wavePath, const char* outputPath) = 0;
  // The bar and the remaining-time text of one update, shown together.
  virtual void ShowProgress(int percent, const std::string& remaining) = 0;
};

class EncodeProgress : public EncoderCallbacks {
public:
  using Clock = std::function<std::uint32_t()>;
  static constexpr std::uint32_t kUpdateIntervalMs = 1000;

  // The clock defaults to the platform's millisecond tick count.
  EncodeProgress(ProgressView& view, const StopSignal& stop, Clock clock = {});

  void OnFileStart(const char* wavePath, const char* outputPath) override;
  void OnProgress(std::uint64_t total, std::uint64_t done) override;
  void OnFileEnd(std::uint64_t inputSize, std::uint64_t outputSize) override;

private:
  ProgressView& view_;
  const StopSignal& stop_;
  Clock clock_;
  std::uint32_t fileStart_ = 0;
  std::uint32_t lastUpdate_ = 0;
};
