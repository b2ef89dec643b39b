#include "encoder_app/ProgressDialog.h"

#include "encoder/EncodeDriver.h"
#include "encoder_app/resources/resource.h"
#include "support/Exceptions.h"

#include <string>

namespace {

void RunDriver(const EncoderSettings& settings, EncoderCallbacks& callbacks) {
  EncodeDriver driver(settings, callbacks);
  driver.Run();
}

// Each line of the log window ends in CR LF, also line breaks inside a line.
std::string WindowLines(const char* line) {
  std::string text;
  for (const char* c = line; *c; ++c) {
    if (*c == '\n' && (c == line || c[-1] != '\r')) text.push_back('\r');
    text.push_back(*c);
  }
  text += "\r\n";
  return text;
}

} // namespace

ProgressDialog::ProgressDialog(const EncoderSettings& settings, DialogView& mainWindow, Batch batch,
                               EncodeProgress::Clock clock)
    : settings_(settings), main_(mainWindow), batch_(batch ? std::move(batch) : Batch(RunDriver)),
      clock_(std::move(clock)) {}

ProgressDialog::~ProgressDialog() { StopWorker(); }

void ProgressDialog::OnInit(DialogView& view) {
  view_ = &view;
  view.SetText(IDC_REMAINING, "--秒");
  if (settings_.bMakeLog) LogWriter::Instance().OpenFile("Log.txt");
  LogWriter::Instance().SetSink(this);
  worker_ = std::thread([this] { Work(); });
}

void ProgressDialog::Work() {
  EncodeProgress progress(*this, stop_, clock_);
  try {
    batch_(settings_, progress);
  } catch (const User_Cannceled&) {
    // Stopped by the user: nothing to tell.
  } catch (const EC_BadSettings& bad) {
    WriteLog("%s", bad.message.c_str());
  } catch (...) {
    WriteLog("エンコード中に予期しないエラーが発生しました");
  }
  finished_.store(true);
  view_->Post([this] { view_->SetText(IDC_PROGRESS_CLOSE, "終了"); });
}

void ProgressDialog::OnCommand(int id, int code) {
  if (id == IDC_PROGRESS_CLOSE && code == kClicked) OnClose();
}

void ProgressDialog::OnClose() {
  closing_ = true;
  StopWorker();
  main_.ShowWindow(WindowShow::Restored);
  main_.EnableWindow(true);
  view_->EndDialog(0);
}

void ProgressDialog::OnDestroy() { StopWorker(); }

void ProgressDialog::StopWorker() {
  stop_.Request();
  if (worker_.joinable()) worker_.join();
  if (view_ && !logReleased_) {
    logReleased_ = true;
    LogWriter::Instance().SetSink(nullptr);
    if (settings_.bMakeLog) LogWriter::Instance().CloseFile();
  }
}

// Minimising the progress window takes the whole program to the task bar;
// bringing it back keeps the main window locked until the encode is closed.
void ProgressDialog::OnActivate(bool active, bool minimized) {
  if (closing_) return;
  if (!active && minimized) {
    main_.EnableWindow(true);
    main_.ShowWindow(WindowShow::Minimized);
    view_->ShowWindow(WindowShow::Minimized);
  } else {
    main_.ShowWindow(WindowShow::Restored);
    view_->ShowWindow(WindowShow::Restored);
    main_.EnableWindow(false);
  }
}

void ProgressDialog::ShowFiles(const char* wavePath, const char* outputPath) {
  view_->Post([this, wave = std::string(wavePath), output = std::string(outputPath)] {
    view_->SetText(IDC_CURRENT_WAVE, wave);
    view_->SetText(IDC_CURRENT_TKW, output);
  });
}

void ProgressDialog::ShowProgress(int percent, const std::string& remaining) {
  view_->Post([this, percent, remaining] {
    view_->SetProgress(IDC_PROGRESS_BAR, percent);
    view_->SetText(IDC_REMAINING, remaining);
  });
}

void ProgressDialog::AppendLogLine(const char* line) {
  view_->Post([this, text = WindowLines(line)] { view_->AppendText(IDC_PROGRESS_LOG, text); });
}
