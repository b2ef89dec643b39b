// tkwEncoder's main window: the input and output paths, the directory mode,
// the settings dialog and the start of an encode. The settings file is read
// when the window opens and written when it has closed.
#pragma once

#include "encoder/EncoderSettings.h"
#include "platform/DialogView.h"

#include <functional>
#include <string>
#include <vector>

class EncoderMainWindow : public DialogController {
public:
  explicit EncoderMainWindow(std::string iniPath);

  void OnInit(DialogView& view) override;
  void OnCommand(int id, int code) override;
  void OnDropFiles(int id, const std::vector<std::string>& files) override;
  void OnClose() override;
  void OnDestroy() override;

  const EncoderSettings& Settings() const { return settings_; }

  // How folders are shown (replaced in tests).
  std::function<bool(const char* folder)> openFolder;

private:
  void ApplyMode();
  void BrowseInput();
  bool CopyPaths();
  void Start();

  std::string iniPath_;
  EncoderSettings settings_;
  DialogView* view_ = nullptr;
};
