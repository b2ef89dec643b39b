// The converter's queue window: converts the list files on a worker thread and
// shows what is left and the log. Closing it early stops the worker at its
// next safe point, so no archive is left half-written.
#pragma once

#include "converter/TkrConvertQueue.h"
#include "platform/DialogView.h"
#include "support/LogWriter.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class QueueDialog : public DialogController, private TkrQueueObserver, private LogSink {
public:
  QueueDialog(std::vector<std::string> lists, std::string password);
  ~QueueDialog() override;

  void OnInit(DialogView& view) override;
  void OnCommand(int id, int code) override;
  void OnClose() override;
  void OnDestroy() override;

  bool Finished() const { return finished_.load(); }

private:
  void OnListFinished(const std::string& listPath, TkrListConverter::Result result) override;
  void OnQueueDone() override;
  void AppendLogLine(const char* line) override;
  void StopWorker();

  std::vector<std::string> lists_;
  std::string password_;
  std::unique_ptr<TkrConvertQueue> queue_;
  DialogView* view_ = nullptr;
  std::atomic<bool> finished_{false};
  bool logReleased_ = false;
};
