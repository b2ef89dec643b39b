#include "converter/ConverterMainWindow.h"

#include "converter/QueueDialog.h"
#include "converter/TkrConvertQueue.h"
#include "converter/resources/resource.h"
#include "platform/UserInterface.h"
#include "support/Exceptions.h"
#include "support/RString.h"

ConverterMainWindow::ConverterMainWindow(std::string iniPath, std::string queuePath)
    : openFolder(plat::openFolder), iniPath_(std::move(iniPath)), queuePath_(std::move(queuePath)) {}

void ConverterMainWindow::OnInit(DialogView& view) {
  view_ = &view;
  settings_.Load(iniPath_);
  view.AcceptDrops(0);
  view.SetText(IDC_PASSWORD, settings_.password);
  lists_ = TkrConverterSettings::LoadQueue(queuePath_);
  TkrConvertQueue::Sort(lists_);
  ShowLists();
  view.SetChecked(IDC_SET_PASSWORD, settings_.setPassword);
  view.SetChecked(IDC_HIDE_PASSWORD, settings_.hidePassword);
  ApplyPasswordBox();
  view.SetPasswordMask(IDC_PASSWORD, settings_.hidePassword);
}

void ConverterMainWindow::OnCommand(int id, int code) {
  if (code != kClicked) return;
  switch (id) {
  case IDC_DELETE: DeleteSelection(); break;
  case IDC_DELETE_ALL:
    lists_.clear();
    ShowLists();
    break;
  case IDC_BROWSE:
    if (openFolder) openFolder(settings_.listDirectory.c_str());
    break;
  case IDC_SET_PASSWORD: ApplyPasswordBox(); break;
  case IDC_HIDE_PASSWORD: ApplyHideBox(); break;
  case IDC_START: StartConversion(); break;
  case 1: OnClose(); break;
  default: break;
  }
}

void ConverterMainWindow::OnDropFiles(int, const std::vector<std::string>& files) {
  std::string last;
  for (const std::string& file : files) {
    RString path;
    try {
      path.Assign(file.c_str());
    } catch (const CopyStringError&) {
      continue; // a cut name would name another file
    }
    path.ToLongPathName(); // used whether or not it could be converted
    AddList(path.c_str());
    last = path.c_str();
  }
  if (last.empty()) return;
  RString directory;
  directory.SetDirectory(last.c_str());
  settings_.listDirectory = directory.c_str();
  ShowLists();
}

void ConverterMainWindow::OnClose() {
  ReadPasswordField();
  settings_.setPassword = view_->IsChecked(IDC_SET_PASSWORD);
  settings_.hidePassword = view_->IsChecked(IDC_HIDE_PASSWORD);
  TkrConverterSettings::SaveQueue(queuePath_, lists_);
  settings_.Save(iniPath_);
  view_->EndDialog(0);
}

void ConverterMainWindow::ShowLists() {
  view_->ListClear(IDC_LIST_FILES);
  for (size_t i = 0; i < lists_.size(); ++i)
    view_->ListInsert(IDC_LIST_FILES, static_cast<int>(i), lists_[i]);
}

void ConverterMainWindow::AddList(const std::string& path) {
  lists_.push_back(path);
  TkrConvertQueue::Sort(lists_);
}

void ConverterMainWindow::DeleteSelection() {
  std::vector<int> selected = view_->ListSelection(IDC_LIST_FILES);
  // From the highest index down, so the others stay valid.
  for (auto index = selected.rbegin(); index != selected.rend(); ++index) {
    if (*index < 0 || static_cast<size_t>(*index) >= lists_.size()) continue;
    lists_.erase(lists_.begin() + *index);
    view_->ListDelete(IDC_LIST_FILES, *index);
  }
}

void ConverterMainWindow::ApplyPasswordBox() {
  const bool on = view_->IsChecked(IDC_SET_PASSWORD);
  view_->Enable(IDC_PASSWORD, on);
  view_->Enable(IDC_HIDE_PASSWORD, on);
}

void ConverterMainWindow::ApplyHideBox() {
  view_->SetPasswordMask(IDC_PASSWORD, view_->IsChecked(IDC_HIDE_PASSWORD));
  view_->SetFocus(IDC_PASSWORD);
}

void ConverterMainWindow::ReadPasswordField() {
  settings_.password = view_->Text(IDC_PASSWORD).substr(0, RString::kCapacity - 1);
}

void ConverterMainWindow::StartConversion() {
  ReadPasswordField();
  settings_.setPassword = view_->IsChecked(IDC_SET_PASSWORD);
  QueueDialog queue(lists_, settings_.EffectivePassword());
  view_->RunModal(IDD_CONVERTER_QUEUE, queue);
}
