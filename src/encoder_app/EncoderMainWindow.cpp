#include "encoder_app/EncoderMainWindow.h"

#include "encoder_app/ProgressDialog.h"
#include "encoder_app/SettingsDialog.h"
#include "encoder_app/SettingsFile.h"
#include "encoder_app/StartCheck.h"
#include "encoder_app/resources/resource.h"
#include "platform/Files.h"
#include "platform/UserInterface.h"
#include "support/Exceptions.h"
#include "support/RString.h"

namespace {

constexpr std::size_t kMaxPath = RString::kCapacity - 1;

} // namespace

EncoderMainWindow::EncoderMainWindow(std::string iniPath)
    : openFolder(plat::openFolder), iniPath_(std::move(iniPath)) {}

void EncoderMainWindow::OnInit(DialogView& view) {
  view_ = &view;
  settings_ = LoadSettings(iniPath_);
  view.SetChecked(IDC_BURST, settings_.bBurst != 0);
  view.SetChecked(IDC_SEARCH_SUB, settings_.bSearchSub != 0);
  view.Enable(IDC_SEARCH_SUB, false);
  view.SetText(IDC_WAVE_PATH, settings_.readPath);
  view.SetText(IDC_TKW_PATH, settings_.writePath);
  view.SetImage(IDC_TKW_PATH_BUTTON, IDI_OUTPUT_FOLDER);
  view.AcceptDrops(IDC_WAVE_PATH);
  view.AcceptDrops(IDC_TKW_PATH);
  ApplyMode();
}

void EncoderMainWindow::OnCommand(int id, int code) {
  if (code != kClicked) return;
  switch (id) {
  case IDC_BURST: ApplyMode(); break;
  case IDC_SEARCH_SUB: settings_.bSearchSub = view_->IsChecked(IDC_SEARCH_SUB) ? 1 : 0; break;
  case IDC_WAVE_PATH_BUTTON: BrowseInput(); break;
  case IDC_TKW_PATH_BUTTON:
    if (openFolder) openFolder(view_->Text(IDC_TKW_PATH).c_str());
    break;
  case IDC_SETTINGS: {
    SettingsDialog dialog(settings_);
    view_->RunModal(IDD_SETTINGS, dialog);
    break;
  }
  case IDC_START: Start(); break;
  case IDC_EXIT:
    CopyPaths();
    view_->EndDialog(0);
    break;
  default: break;
  }
}

void EncoderMainWindow::OnDropFiles(int id, const std::vector<std::string>& files) {
  if ((id != IDC_WAVE_PATH && id != IDC_TKW_PATH) || files.empty()) return;
  RString path;
  try {
    path.Assign(files.front().c_str());
  } catch (const CopyStringError&) {
    return; // a cut name would name another file
  }
  path.ToLongPathName(); // used whether or not it could be converted
  view_->SetText(id, path.c_str());
}

// The close box ends without taking the edits: the paths saved are those of
// the last start or of start-up.
void EncoderMainWindow::OnClose() { view_->EndDialog(0); }

void EncoderMainWindow::OnDestroy() { SaveSettings(settings_, iniPath_); }

void EncoderMainWindow::ApplyMode() {
  const bool directoryMode = view_->IsChecked(IDC_BURST);
  settings_.bBurst = directoryMode ? 1 : 0;
  view_->SetImage(IDC_WAVE_PATH_BUTTON, directoryMode ? IDB_FOLDER_MODE : IDB_FILE_MODE);
  view_->Enable(IDC_SEARCH_SUB, directoryMode);
  view_->SetText(IDC_WAVE_PATH_LABEL,
                 directoryMode ? "入力側 - Waveファイルがあるフォルダ" : "入力側 - Waveファイル名(フルパス)");
}

void EncoderMainWindow::BrowseInput() {
  if (view_->IsChecked(IDC_BURST)) {
    std::string folder = view_->Text(IDC_WAVE_PATH);
    if (!plat::isDirectory(folder.c_str())) {
      const char* separator = FindLastSeparator(folder.c_str());
      folder.resize(separator ? static_cast<std::size_t>(separator - folder.c_str()) : 0);
    }
    if (openFolder) openFolder(folder.c_str());
    return;
  }
  std::string chosen;
  if (view_->ChooseFile("圧縮したいWaveファイルを選択して下さい", "Waveファイル(*.wav)", "*.wav", chosen))
    view_->SetText(IDC_WAVE_PATH, chosen);
}

// False when a path is longer than the paths the engine can hold.
bool EncoderMainWindow::CopyPaths() {
  const std::string input = view_->Text(IDC_WAVE_PATH);
  const std::string output = view_->Text(IDC_TKW_PATH);
  if (input.size() > kMaxPath || output.size() > kMaxPath) return false;
  settings_.readPath = input;
  settings_.writePath = output;
  return true;
}

void EncoderMainWindow::Start() {
  settings_.bBurst = view_->IsChecked(IDC_BURST) ? 1 : 0;
  settings_.bSearchSub = view_->IsChecked(IDC_SEARCH_SUB) ? 1 : 0;
  std::string problem;
  if (!CopyPaths())
    problem = view_->Text(IDC_TKW_PATH).size() > kMaxPath ? "TKWディレクトリ名が不正です"
              : settings_.bBurst                          ? "Waveディレクトリ名が不正です"
                                                          : "Waveファイル名が不正です";
  else
    problem = StartProblem(settings_);
  if (!problem.empty()) {
    view_->ShowMessage(problem, "エラー", kMessageOk);
    return;
  }
  ProgressDialog progress(settings_, *view_);
  view_->RunModal(IDD_PROGRESS, progress);
}
