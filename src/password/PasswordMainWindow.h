// TkrPassword's main window: the new password and the log. Archives dropped on
// it get the new password, one after the other; a cancelled old-password
// question ends the rest of that drop.
#pragma once

#include "platform/DialogView.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class PasswordMainWindow : public DialogController {
public:
  void OnInit(DialogView& view) override;
  void OnCommand(int id, int code) override;
  void OnDropFiles(int id, const std::vector<std::string>& files) override;
  void OnClose() override;

private:
  bool AskOldPassword(const std::string& path, const std::function<bool(std::string_view)>& isRight);
  void Log(const char* line);

  DialogView* view_ = nullptr;
};
