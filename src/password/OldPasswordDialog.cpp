#include "password/OldPasswordDialog.h"

#include "password/TkrPasswordChanger.h"
#include "password/resources/resource.h"

OldPasswordDialog::OldPasswordDialog(std::string archivePath, bool hidden,
                                     std::function<bool(std::string_view)> isRight)
    : archivePath_(std::move(archivePath)), hidden_(hidden), isRight_(std::move(isRight)) {}

void OldPasswordDialog::OnInit(DialogView& view) {
  view_ = &view;
  view.SetText(IDC_ARCHIVE_INFO, "ファイル名:  " + archivePath_);
  view.SetPasswordMask(IDC_OLD_PASSWORD, hidden_);
  view.SetFocus(IDC_OLD_PASSWORD);
}

void OldPasswordDialog::OnCommand(int id, int code) {
  if (code != kClicked) return;
  if (id == 2) {
    view_->EndDialog(0);
    return;
  }
  if (id != 1) return;
  const std::string typed = view_->Text(IDC_OLD_PASSWORD).substr(0, TkrPasswordChanger::kMaxPasswordLength);
  if (isRight_ && isRight_(typed)) {
    view_->EndDialog(1);
    return;
  }
  view_->ShowMessage("パスワードが違います", TkrPasswordChanger::kCaption, kMessageOk);
  view_->SetFocus(IDC_OLD_PASSWORD);
}

void OldPasswordDialog::OnClose() { view_->EndDialog(0); }

void OldPasswordDialog::OnActivate(bool active, bool) {
  if (active) view_->SetFocus(IDC_OLD_PASSWORD);
}
