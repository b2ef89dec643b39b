#include "converter/QueueDialog.h"

#include "converter/resources/resource.h"

namespace {

// The log window is an edit control: every line ends in CR LF, also the
// line breaks inside a message.
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

QueueDialog::QueueDialog(std::vector<std::string> lists, std::string password)
    : lists_(std::move(lists)), password_(std::move(password)) {
  TkrConvertQueue::Sort(lists_);
}

QueueDialog::~QueueDialog() { StopWorker(); }

void QueueDialog::OnInit(DialogView& view) {
  view_ = &view;
  for (size_t i = 0; i < lists_.size(); ++i)
    view.ListInsert(IDC_QUEUE, static_cast<int>(i), lists_[i]);
  LogWriter::Instance().OpenFile("Log.txt");
  LogWriter::Instance().SetSink(this);
  queue_ = std::make_unique<TkrConvertQueue>(lists_, password_, static_cast<TkrQueueObserver*>(this));
  queue_->Start();
}

void QueueDialog::OnCommand(int id, int code) {
  if (id == IDC_ABORT && code == kClicked) OnClose();
}

void QueueDialog::OnClose() {
  StopWorker();
  const bool stopped = queue_ && queue_->WasStopped();
  if (stopped)
    view_->ShowMessage("変換を中止しました。\n作成途中だったTkrファイルは出力していません。\n"
                       "作業はこのまま続けられます",
                       "警告", kMessageIconWarning);
  view_->EndDialog(0);
}

void QueueDialog::OnDestroy() { StopWorker(); }

void QueueDialog::StopWorker() {
  if (queue_) {
    if (!queue_->Done()) queue_->RequestStop();
    queue_->Wait();
  }
  if (view_ && !logReleased_) {
    logReleased_ = true;
    LogWriter::Instance().SetSink(nullptr);
    LogWriter::Instance().CloseFile();
  }
}

void QueueDialog::OnListFinished(const std::string&, TkrListConverter::Result) {
  view_->Post([this] { view_->ListDelete(IDC_QUEUE, 0); });
}

void QueueDialog::OnQueueDone() {
  finished_.store(true);
  view_->Post([this] { view_->SetText(IDC_ABORT, "終了"); });
}

void QueueDialog::AppendLogLine(const char* line) {
  view_->Post([this, text = WindowLines(line)] { view_->AppendText(IDC_QUEUE_LOG, text); });
}
