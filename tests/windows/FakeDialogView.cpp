#include "windows/FakeDialogView.h"

#include <algorithm>
#include <thread>

namespace testutil {

FakeDialogView::~FakeDialogView() {
  bool destroy = false;
  {
    std::lock_guard lock(mutex_);
    destroy = opened_ && !destroyed_;
    destroyed_ = true;
  }
  if (destroy) controller_.OnDestroy();
}

void FakeDialogView::Open() {
  opened_ = true;
  if (Initialise(controller_)) {
    const auto first = firstTabStops.find(templateId);
    if (first != firstTabStops.end()) focus_ = first->second;
  }
}

void FakeDialogView::Click(int id) { controller_.OnCommand(id, kClicked); }

void FakeDialogView::Toggle(int id) {
  controls_[id].checked = !controls_[id].checked;
  Click(id);
}

void FakeDialogView::SelectRadio(int id, std::initializer_list<int> group) {
  for (int other : group)
    controls_[other].checked = other == id;
  Click(id);
}

void FakeDialogView::SelectTab(int id, int index) {
  controls_[id].selectedTab = index;
  controller_.OnCommand(id, kTabChanged);
}

void FakeDialogView::MoveUpDown(int id, int position) {
  FakeControl& upDown = controls_[id];
  upDown.position = std::clamp(position, upDown.minimum, upDown.maximum);
  controls_[upDown.buddy].text = std::to_string(upDown.position);
  controller_.OnCommand(id, kUpDownMoved);
}

void FakeDialogView::Drop(int id, const std::vector<std::string>& files) { controller_.OnDropFiles(id, files); }

void FakeDialogView::Close() { controller_.OnClose(); }

void FakeDialogView::Activate(bool active, bool minimized) { controller_.OnActivate(active, minimized); }

bool FakeDialogView::RunPosted() {
  bool ran = false;
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (posted_.empty() || destroyed_) return ran;
      task = std::move(posted_.front());
      posted_.pop_front();
    }
    task();
    ran = true;
  }
}

bool FakeDialogView::PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    RunPosted();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

std::vector<FakeMessage> FakeDialogView::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void FakeDialogView::clearMessages() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

bool FakeDialogView::pageShown(int templateId) const {
  auto found = shownPages_.find(templateId);
  return found != shownPages_.end() && found->second;
}

std::string FakeDialogView::Text(int id) const { return controls_[id].text; }

void FakeDialogView::SetText(int id, const std::string& text) { controls_[id].text = text; }

void FakeDialogView::AppendText(int id, const std::string& text) { controls_[id].text += text; }

bool FakeDialogView::IsChecked(int id) const { return controls_[id].checked; }

void FakeDialogView::SetChecked(int id, bool checked) { controls_[id].checked = checked; }

bool FakeDialogView::IsEnabled(int id) const { return controls_[id].enabled; }

void FakeDialogView::Enable(int id, bool enabled) { controls_[id].enabled = enabled; }

void FakeDialogView::ListInsert(int id, int index, const std::string& text) {
  auto& items = controls_[id].items;
  const auto at = index < 0 || static_cast<size_t>(index) > items.size() ? items.size() : static_cast<size_t>(index);
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), text);
}

void FakeDialogView::ListDelete(int id, int index) {
  auto& control = controls_[id];
  if (index < 0 || static_cast<size_t>(index) >= control.items.size()) return;
  control.items.erase(control.items.begin() + index);
  std::erase(control.selection, index);
  for (int& selected : control.selection)
    if (selected > index) --selected;
}

void FakeDialogView::ListClear(int id) {
  controls_[id].items.clear();
  controls_[id].selection.clear();
}

std::vector<int> FakeDialogView::ListSelection(int id) const {
  std::vector<int> selection = controls_[id].selection;
  std::sort(selection.begin(), selection.end()); // the order the list control reports
  return selection;
}

int FakeDialogView::SelectedTab(int id) const { return controls_[id].selectedTab; }

void FakeDialogView::CreateUpDown(int id, int buddyId, int minimum, int maximum, int position) {
  FakeControl& upDown = controls_[id];
  upDown.isUpDown = true;
  upDown.buddy = buddyId;
  upDown.minimum = minimum;
  upDown.maximum = maximum;
  upDown.position = std::clamp(position, minimum, maximum);
  controls_[buddyId].text = std::to_string(upDown.position);
}

int FakeDialogView::UpDownPosition(int id) const { return controls_[id].position; }

void FakeDialogView::SetUpDownPosition(int id, int position) {
  FakeControl& upDown = controls_[id];
  upDown.position = std::clamp(position, upDown.minimum, upDown.maximum);
  controls_[upDown.buddy].text = std::to_string(upDown.position);
}

void FakeDialogView::CreatePage(int templateId, int, int) { pages_.push_back(templateId); }

void FakeDialogView::EndDialog(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  {
    std::lock_guard lock(mutex_);
    destroyed_ = true;
    posted_.clear();
  }
  controller_.OnDestroy();
}

int FakeDialogView::ShowMessage(const std::string& text, const std::string& caption, unsigned) {
  std::lock_guard lock(mutex_);
  messages_.push_back({text, caption});
  return messageAnswer;
}

int FakeDialogView::RunModal(int templateId, DialogController& controller) {
  FakeDialogView nested(controller);
  nested.firstTabStops = firstTabStops;
  nested.templateId = templateId;
  nested.Open();
  if (!modalScript) {
    nested.Close();
    return nested.result();
  }
  const int result = modalScript(templateId, controller, nested);
  return nested.ended() ? nested.result() : result;
}

void FakeDialogView::Post(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  if (destroyed_) return;
  posted_.push_back(std::move(task));
}

bool FakeDialogView::ChooseFile(const std::string& title, const std::string& filterName, const std::string& pattern,
                                std::string& path) {
  chooseTitle = title;
  chooseFilterName = filterName;
  choosePattern = pattern;
  if (chosenFile.empty()) return false;
  path = chosenFile;
  return true;
}

} // namespace testutil
