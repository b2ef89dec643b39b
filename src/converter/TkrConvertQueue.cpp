#include "converter/TkrConvertQueue.h"

#include "support/LogWriter.h"

#include <algorithm>

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sortsBefore(const std::string& a, const std::string& b) {
  const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                 [](char x, char y) { return lower(x) < lower(y); });
  const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                    [](char x, char y) { return lower(x) < lower(y); });
  return less || (!greater && a < b);
}

} // namespace

TkrConvertQueue::TkrConvertQueue(std::vector<std::string> listPaths, std::string password, TkrQueueObserver* observer)
    : lists_(std::move(listPaths)), converter_(std::move(password)), observer_(observer) {
  Sort(lists_);
  converter_.SetStopFlag(&stop_);
}

TkrConvertQueue::~TkrConvertQueue() {
  RequestStop();
  Wait();
}

void TkrConvertQueue::Sort(std::vector<std::string>& listPaths) {
  std::stable_sort(listPaths.begin(), listPaths.end(), sortsBefore);
}

void TkrConvertQueue::Run() {
  bool completed = true;
  for (const std::string& list : lists_) {
    if (stop_.load()) {
      completed = false;
      break;
    }
    if (observer_) observer_->OnListStarted(list);
    WriteLog("%s の処理中 :", list.c_str());
    const TkrListConverter::Result result = converter_.Convert(list.c_str());
    if (result == TkrListConverter::Result::Stopped) {
      completed = false;
      break;
    }
    if (result == TkrListConverter::Result::Failed) ++failures_;
    if (observer_) observer_->OnListFinished(list, result);
  }
  if (!completed) {
    stopped_.store(true);
    WriteLog("変換を中止しました");
    return;
  }
  done_.store(true);
  WriteLog("キューをすべて消化しました");
  if (observer_) observer_->OnQueueDone();
}

void TkrConvertQueue::Start() {
  Wait();
  worker_ = std::thread([this] { Run(); });
}

void TkrConvertQueue::Wait() {
  if (worker_.joinable()) worker_.join();
}
