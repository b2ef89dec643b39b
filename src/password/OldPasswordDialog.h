// Asks for the old password of one archive until it is right or the user
// gives up (result 1 confirmed, 0 cancelled).
#pragma once

#include "platform/DialogView.h"

#include <functional>
#include <string>
#include <string_view>

class OldPasswordDialog : public DialogController {
public:
  OldPasswordDialog(std::string archivePath, bool hidden, std::function<bool(std::string_view)> isRight);

  void OnInit(DialogView& view) override;
  void OnCommand(int id, int code) override;
  void OnClose() override;
  void OnActivate(bool active, bool minimized) override;

private:
  std::string archivePath_;
  bool hidden_;
  std::function<bool(std::string_view)> isRight_;
  DialogView* view_ = nullptr;
};
