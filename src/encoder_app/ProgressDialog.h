// The encoder's progress window: runs the batch on a worker thread and shows
// the current files, the bar, the remaining time and the log. Closing it stops
// the worker before its next block; the engine then removes the unfinished
// output file.
#pragma once

#include "encoder/EncoderSettings.h"
#include "encoder_app/EncodeProgress.h"
#include "encoder_app/StopSignal.h"
#include "platform/DialogView.h"
#include "support/LogWriter.h"

#include <atomic>
#include <functional>
#include <thread>

class ProgressDialog : public DialogController, private ProgressView, private LogSink {
public:
  // Runs the batch with the callbacks; the default runs the encoding driver.
  using Batch = std::function<void(const EncoderSettings& settings, EncoderCallbacks& callbacks)>;

  ProgressDialog(const EncoderSettings& settings, DialogView& mainWindow, Batch batch = {},
                 EncodeProgress::Clock clock = {});
  ~ProgressDialog() override;

  void OnInit(DialogView& view) override;
  void OnCommand(int id, int code) override;
  void OnClose() override;
  void OnActivate(bool active, bool minimized) override;
  void OnDestroy() override;

  bool Finished() const { return finished_.load(); }

private:
  void Work();
  void StopWorker();
  void ShowFiles(const char* wavePath, const char* outputPath) override;
  void ShowProgress(int percent, const std::string& remaining) override;
  void AppendLogLine(const char* line) override;

  const EncoderSettings& settings_;
  DialogView& main_;
  Batch batch_;
  EncodeProgress::Clock clock_;
  StopSignal stop_;
  DialogView* view_ = nullptr;
  std::thread worker_;
  std::atomic<bool> finished_{false};
  bool closing_ = false;
  bool logReleased_ = false;
};
