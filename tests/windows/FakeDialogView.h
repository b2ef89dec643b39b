// A window without a screen: keeps each control's state by ID, records message
// boxes, and lets a test click, drop and run posted tasks like a user and the
// message loop would.
#pragma once

#include "platform/DialogView.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace testutil {

struct FakeControl {
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool masked = false;
  int image = 0;
  int progress = 0;
  std::vector<std::string> items;
  std::vector<int> selection;
  std::vector<std::string> tabs;
  int selectedTab = 0;
  bool isUpDown = false;
  int buddy = 0, minimum = 0, maximum = 0, position = 0;
};

struct FakeMessage {
  std::string text;
  std::string caption;
};

class FakeDialogView : public DialogView {
public:
  // Answers RunModal: gets the nested dialog's template, its controller and a
  // fresh view on which OnInit has run; returns the dialog's result.
  using ModalScript = std::function<int(int templateId, DialogController& controller, FakeDialogView& view)>;

  explicit FakeDialogView(DialogController& controller) : controller_(controller) {}
  ~FakeDialogView() override;

  // Runs OnInit, as creating the window does.
  void Open();
  // What the user does.
  void Click(int id);
  void Toggle(int id); // a check box changes state, then reports the click
  void SelectRadio(int id, std::initializer_list<int> group);
  void SelectTab(int id, int index);
  void MoveUpDown(int id, int position);
  void Drop(int id, const std::vector<std::string>& files);
  void Close(); // the close box
  void Activate(bool active, bool minimized);
  void Select(int listId, std::vector<int> indexes) { controls_[listId].selection = std::move(indexes); }
  void Type(int id, const std::string& text) { controls_[id].text = text; }

  // The message loop: runs the tasks posted so far; true if any ran.
  bool RunPosted();
  // Runs posted tasks until the condition holds; false after the timeout.
  bool PumpUntil(const std::function<bool()>& condition,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));

  FakeControl& control(int id) { return controls_[id]; }
  const std::vector<std::string>& items(int id) { return controls_[id].items; }
  std::vector<FakeMessage> messages() const;
  void clearMessages();
  bool ended() const { return ended_; }
  int result() const { return result_; }
  bool windowEnabled() const { return windowEnabled_; }
  WindowShow windowShow() const { return show_; }
  std::vector<int> pagesCreated() const { return pages_; }
  bool pageShown(int templateId) const;

  ModalScript modalScript;
  int messageAnswer = 1;
  std::string chosenFile; // what the open-file dialog returns; empty = cancelled
  std::vector<int> dropTargets;

  // DialogView
  std::string Text(int id) const override;
  void SetText(int id, const std::string& text) override;
  void AppendText(int id, const std::string& text) override;
  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool IsEnabled(int id) const override;
  void Enable(int id, bool enabled) override;
  void SetPasswordMask(int id, bool masked) override { controls_[id].masked = masked; }
  void SetImage(int id, int resourceId) override { controls_[id].image = resourceId; }
  void SetProgress(int id, int percent) override { controls_[id].progress = percent; }
  void ListInsert(int id, int index, const std::string& text) override;
  void ListDelete(int id, int index) override;
  void ListClear(int id) override;
  std::vector<int> ListSelection(int id) const override;
  void AddTab(int id, const std::string& text) override { controls_[id].tabs.push_back(text); }
  int SelectedTab(int id) const override;
  void CreateUpDown(int id, int buddyId, int minimum, int maximum, int position) override;
  int UpDownPosition(int id) const override;
  void SetUpDownPosition(int id, int position) override;
  void CreatePage(int templateId, int, int) override;
  void ShowPage(int templateId, bool shown) override { shownPages_[templateId] = shown; }
  void EndDialog(int result) override;
  void EnableWindow(bool enabled) override { windowEnabled_ = enabled; }
  void ShowWindow(WindowShow show) override { show_ = show; }
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;
  int RunModal(int templateId, DialogController& controller) override;
  void Post(std::function<void()> task) override;
  void AcceptDrops(int id) override { dropTargets.push_back(id); }
  bool ChooseFile(const std::string& title, const std::string& filterName, const std::string& pattern,
                  std::string& path) override;
  void SetTimer(int id, unsigned) override { timers_[id] = true; }
  void KillTimer(int id) override { timers_[id] = false; }

  int focus() const { return focus_; }
  // The first tab stop of each dialog template: where the system puts the
  // focus when the controller's init leaves it to the system. Nested dialogs
  // take the same table.
  std::map<int, int> firstTabStops;
  int templateId = 0;

protected:
  void MoveFocus(int id) override { focus_ = id; }

public:
  std::string chooseTitle, chooseFilterName, choosePattern;

private:
  DialogController& controller_;
  mutable std::map<int, FakeControl> controls_;
  std::vector<int> pages_;
  std::map<int, bool> shownPages_;
  std::map<int, bool> timers_;
  mutable std::mutex mutex_; // guards posted_ and messages_
  std::deque<std::function<void()>> posted_;
  std::vector<FakeMessage> messages_;
  bool opened_ = false;
  bool ended_ = false;
  bool destroyed_ = false;
  int result_ = 0;
  bool windowEnabled_ = true;
  WindowShow show_ = WindowShow::Restored;
  int focus_ = 0;
};

} // namespace testutil
