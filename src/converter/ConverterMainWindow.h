// TkrConverter's main window: the queue of list files (filled by dropping
// them), the password, and the start of a conversion. The queue and the
// settings are loaded at start and written back when the window closes.
#pragma once

#include "converter/TkrConverterSettings.h"
#include "platform/DialogView.h"

#include <functional>
#include <string>
#include <vector>

class ConverterMainWindow : public DialogController {
public:
  ConverterMainWindow(std::string iniPath, std::string queuePath);

  void OnInit(DialogView& view) override;
  void OnCommand(int id, int code) override;
  void OnDropFiles(int id, const std::vector<std::string>& files) override;
  void OnClose() override;

  const std::vector<std::string>& Lists() const { return lists_; }
  const TkrConverterSettings& Settings() const { return settings_; }

  // How the browse button shows a folder (replaced in tests).
  std::function<bool(const char* folder)> openFolder;

private:
  void ShowLists();
  void AddList(const std::string& path);
  void DeleteSelection();
  void ApplyPasswordBox();
  void ApplyHideBox();
  void ReadPasswordField();
  void StartConversion();

  std::string iniPath_;
  std::string queuePath_;
  TkrConverterSettings settings_;
  std::vector<std::string> lists_; // in the list box's sorted order
  DialogView* view_ = nullptr;
};
