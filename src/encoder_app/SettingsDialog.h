// The compression settings: two pages on a tab control. Confirming applies the
// basic page, then the expert page; a page that applied stays applied even if
// the other one then refuses.
#pragma once

#include "encoder/EncoderSettings.h"
#include "platform/DialogView.h"

#include <cstdint>
#include <optional>
#include <string>

class SettingsDialog : public DialogController {
public:
  explicit SettingsDialog(EncoderSettings& settings);

  void OnInit(DialogView& view) override;
  void OnCommand(int id, int code) override;
  void OnClose() override;

  // A field holding only decimal digits (spaces around them allowed) whose
  // value fits a setting; anything else, a sign included, is refused.
  static std::optional<std::int32_t> ParseUnsigned(const std::string& text);

private:
  void ShowBasicPage();
  void ShowExpertPage();
  void EnableExpertPage(bool enabled);
  void ResetBasicPage();
  void ResetExpertPage();
  bool ApplyBasicPage();
  bool ApplyExpertPage();
  bool Refuse(const char* message);

  EncoderSettings& settings_;
  DialogView* view_ = nullptr;
};
