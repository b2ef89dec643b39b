#include "password/PasswordMainWindow.h"

#include "password/OldPasswordDialog.h"
#include "password/TkrPasswordChanger.h"
#include "password/resources/resource.h"

void PasswordMainWindow::OnInit(DialogView& view) {
  view_ = &view;
  view.AcceptDrops(0);
  view.SetFocus(IDC_NEW_PASSWORD);
}

void PasswordMainWindow::OnCommand(int id, int code) {
  if (id == IDC_HIDE_NEW_PASSWORD && code == kClicked) {
    view_->SetPasswordMask(IDC_NEW_PASSWORD, view_->IsChecked(IDC_HIDE_NEW_PASSWORD));
    view_->SetFocus(IDC_NEW_PASSWORD);
  }
}

void PasswordMainWindow::OnDropFiles(int, const std::vector<std::string>& files) {
  // The whole text: the changer refuses a password that is too long.
  const std::string password = view_->Text(IDC_NEW_PASSWORD);
  if (password.empty()) {
    // A password can be changed but never removed.
    view_->ShowMessage("パスワードが設定されてないとまずいっしょ（笑）", TkrPasswordChanger::kCaption, kMessageOk);
    return;
  }
  TkrPasswordChanger changer(
      password, [this](const std::string& path, const auto& isRight) { return AskOldPassword(path, isRight); },
      [this](const char* line) { Log(line); });
  changer.ProcessAll(files);
}

void PasswordMainWindow::OnClose() { view_->EndDialog(0); }

bool PasswordMainWindow::AskOldPassword(const std::string& path, const std::function<bool(std::string_view)>& isRight) {
  OldPasswordDialog dialog(path, view_->IsChecked(IDC_HIDE_NEW_PASSWORD), isRight);
  return view_->RunModal(IDD_OLD_PASSWORD, dialog) == 1;
}

void PasswordMainWindow::Log(const char* line) { view_->AppendText(IDC_PASSWORD_LOG, std::string(line) + "\r\n"); }
