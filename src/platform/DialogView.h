// The windows of the programs, seen from their behaviour: a controller decides
// what happens and talks to the window only through DialogView, which reaches
// controls by their resource ID. On Windows the view is a real dialog built from
// the resource script; tests use a fake view.
#pragma once

#include <functional>
#include <string>
#include <vector>

class DialogController;

enum MessageBoxButtons : unsigned {
  kMessageOk = 0x0,
  kMessageIconError = 0x10,
  kMessageIconWarning = 0x30,
};

// Notification codes passed to DialogController::OnCommand.
enum DialogCommandCode : int {
  kClicked = 0,        // a button (also check and radio boxes) was pressed
  kTabChanged = 1001,  // a tab control selected another tab
  kUpDownMoved = 1002, // an up-down control changed its position
};

enum class WindowShow { Minimized, Restored };

class DialogView {
public:
  virtual ~DialogView() = default;

  // Controls are reached by ID; ID 0 is the window itself (its title).
  virtual std::string Text(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  // Appends at the end of an edit and scrolls there (the log windows).
  virtual void AppendText(int id, const std::string& text) = 0;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void Enable(int id, bool enabled) = 0;
  // Gives the keyboard focus to the control.
  void SetFocus(int id) {
    focusChosen_ = true;
    MoveFocus(id);
  }
  // An edit that shows "*" for each character, or its plain text.
  virtual void SetPasswordMask(int id, bool masked) = 0;
  // The bitmap or icon resource shown on a button.
  virtual void SetImage(int id, int resourceId) = 0;
  virtual void SetProgress(int id, int percent) = 0;

  // List boxes; the controller keeps the order, the control only shows it.
  virtual void ListInsert(int id, int index, const std::string& text) = 0;
  virtual void ListDelete(int id, int index) = 0;
  virtual void ListClear(int id) = 0;
  virtual std::vector<int> ListSelection(int id) const = 0;

  // Tab and up-down controls.
  virtual void AddTab(int id, const std::string& text) = 0;
  virtual int SelectedTab(int id) const = 0;
  // Created at run time next to its buddy edit, which shows the position.
  virtual void CreateUpDown(int id, int buddyId, int minimum, int maximum, int position) = 0;
  virtual int UpDownPosition(int id) const = 0;
  // Moves an up-down control; its buddy edit follows.
  virtual void SetUpDownPosition(int id, int position) = 0;

  // A child page (a dialog template) at (x, y) in dialog units; its controls
  // are then reached by their IDs through this view and report to the same
  // controller.
  virtual void CreatePage(int templateId, int x, int y) = 0;
  virtual void ShowPage(int templateId, bool shown) = 0;

  // Ends a modal dialog with the result, or closes a main window.
  virtual void EndDialog(int result) = 0;
  virtual void EnableWindow(bool enabled) = 0;
  virtual void ShowWindow(WindowShow show) = 0;
  virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned style) = 0;
  // Runs a modal dialog owned by this window; returns what it ended with.
  virtual int RunModal(int templateId, DialogController& controller) = 0;
  // Runs the task on the window's own thread; callable from any thread. Tasks
  // still waiting when the window closes are dropped.
  virtual void Post(std::function<void()> task) = 0;
  // Dropped files on the control (or on the window for ID 0) reach
  // DialogController::OnDropFiles.
  virtual void AcceptDrops(int id) = 0;
  // The system's open-file dialog; false when cancelled.
  virtual bool ChooseFile(const std::string& title, const std::string& filterName, const std::string& pattern,
                          std::string& path) = 0;
  virtual void SetTimer(int id, unsigned milliseconds) = 0;
  virtual void KillTimer(int id) = 0;

  // Runs the controller's OnInit as the window's creation does. True when the
  // controller chose no focus, so that the system gives it to the first tab
  // stop; false keeps the focus the controller chose (what a dialog's init
  // handler returns).
  bool Initialise(DialogController& controller);

protected:
  virtual void MoveFocus(int id) = 0;

private:
  bool focusChosen_ = false;
};

// The behaviour of one window. The view calls these on the window's thread.
class DialogController {
public:
  virtual ~DialogController() = default;

  // The view stays valid until OnDestroy returns.
  virtual void OnInit(DialogView& view) = 0;
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  virtual void OnDropFiles(int /*id*/, const std::vector<std::string>& /*files*/) {}
  // The close box (or Escape); the controller decides whether to end.
  virtual void OnClose() = 0;
  virtual void OnTimer(int /*id*/) {}
  virtual void OnActivate(bool /*active*/, bool /*minimized*/) {}
  virtual void OnDestroy() {}
};

inline bool DialogView::Initialise(DialogController& controller) {
  focusChosen_ = false;
  controller.OnInit(*this);
  return !focusChosen_;
}
