// The real dialog behind a DialogView: one object per dialog window, owned by
// the function that runs the dialog and reached from the window procedure
// through the window's user data.
#pragma once

#include "platform/DialogView.h"

#include <deque>
#include <map>
#include <mutex>
#include <vector>
#include <windows.h>

#include <shellapi.h> // needs windows.h first

namespace plat {

class Win32DialogView final : public DialogView {
public:
  Win32DialogView(DialogController& controller, bool modal);
  ~Win32DialogView() override;

  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND Window() const { return hwnd_; }

  std::string Text(int id) const override;
  void SetText(int id, const std::string& text) override;
  void AppendText(int id, const std::string& text) override;
  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool IsEnabled(int id) const override;
  void Enable(int id, bool enabled) override;
  void SetPasswordMask(int id, bool masked) override;
  void SetImage(int id, int resourceId) override;
  void SetProgress(int id, int percent) override;
  void ListInsert(int id, int index, const std::string& text) override;
  void ListDelete(int id, int index) override;
  void ListClear(int id) override;
  std::vector<int> ListSelection(int id) const override;
  void AddTab(int id, const std::string& text) override;
  int SelectedTab(int id) const override;
  void CreateUpDown(int id, int buddyId, int minimum, int maximum, int position) override;
  int UpDownPosition(int id) const override;
  void SetUpDownPosition(int id, int position) override;
  void CreatePage(int templateId, int x, int y) override;
  void ShowPage(int templateId, bool shown) override;
  void EndDialog(int result) override;
  void EnableWindow(bool enabled) override;
  void ShowWindow(WindowShow show) override;
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;
  int RunModal(int templateId, DialogController& controller) override;
  void Post(std::function<void()> task) override;
  void AcceptDrops(int id) override;
  bool ChooseFile(const std::string& title, const std::string& filterName, const std::string& pattern,
                  std::string& path) override;
  void SetTimer(int id, unsigned milliseconds) override;
  void KillTimer(int id) override;

protected:
  void MoveFocus(int id) override;

private:
  static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK DropEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                       DWORD_PTR data);

  // Messages of the dialog and of its pages; true when handled.
  bool Handle(HWND from, UINT message, WPARAM wParam, LPARAM lParam);
  void Drop(int id, HDROP drop);
  void RunPosted();
  HWND Control(int id) const;

  DialogController& controller_;
  bool modal_;
  HWND hwnd_ = nullptr;
  std::map<int, HWND> pages_;
  std::vector<HGDIOBJ> bitmaps_;
  std::vector<HICON> icons_;
  std::vector<HWND> dropEdits_;

  std::mutex postMutex_;
  std::deque<std::function<void()>> posted_;
  bool closed_ = false; // guarded by postMutex_
};

} // namespace plat
