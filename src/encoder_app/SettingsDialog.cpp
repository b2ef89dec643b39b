#include "encoder_app/SettingsDialog.h"

#include "encoder_app/resources/resource.h"

#include <limits>

namespace {

constexpr int kPageX = 10, kPageY = 20;
constexpr int kDestBitsMin = 10, kDestBitsMax = 13;
constexpr int kContrastBitsMin = 5, kContrastBitsMax = 8;
constexpr int kBrightnessBitsMin = 7, kBrightnessBitsMax = 10;
// The limits divide the version 1 quantiser scales and are kept in 16-bit
// header fields.
constexpr std::int32_t kLimitMin = 1, kLimitMax = 65535;

const EncoderSettings kDefaults{};

} // namespace

SettingsDialog::SettingsDialog(EncoderSettings& settings) : settings_(settings) {}

std::optional<std::int32_t> SettingsDialog::ParseUnsigned(const std::string& text) {
  std::size_t begin = text.find_first_not_of(' ');
  std::size_t end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return std::nullopt;
  std::int64_t value = 0;
  for (std::size_t i = begin; i <= end; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

void SettingsDialog::OnInit(DialogView& view) {
  view_ = &view;
  view.AddTab(IDC_SETTINGS_TAB, "基本");
  view.AddTab(IDC_SETTINGS_TAB, "マニアック");
  view.CreatePage(IDD_SETTINGS_BASIC, kPageX, kPageY);
  view.CreatePage(IDD_SETTINGS_EXPERT, kPageX, kPageY);
  view.ShowPage(IDD_SETTINGS_BASIC, true);
  view.ShowPage(IDD_SETTINGS_EXPERT, false);
  ShowBasicPage();
  ShowExpertPage();
}

void SettingsDialog::ShowBasicPage() {
  view_->SetText(IDC_MAX_ERROR, std::to_string(settings_.MaxError2));
  view_->CreateUpDown(IDC_DEST_BITS_SPIN, IDC_DEST_BITS, kDestBitsMin, kDestBitsMax, settings_.DestBits);
  view_->SetChecked(IDC_ENCODE_MIN_BITS, settings_.bEncodeMinBits != 0);
  view_->SetChecked(IDC_REMAKE, settings_.bRemake != 0);
  view_->SetChecked(IDC_MAKE_LOG, settings_.bMakeLog != 0);
  // Version 3 can only come from the settings file; it is shown, and stored
  // again, as version 2.
  view_->SetChecked(IDC_VERSION1, settings_.EncodeVersion == 1);
  view_->SetChecked(IDC_VERSION2, settings_.EncodeVersion != 1);
}

void SettingsDialog::ShowExpertPage() {
  view_->SetText(IDC_MAX_CONTRAST, std::to_string(settings_.MaxContrast));
  view_->SetText(IDC_MAX_BRIGHTNESS, std::to_string(settings_.MaxBrightness));
  view_->CreateUpDown(IDC_CONTRAST_BITS_SPIN, IDC_CONTRAST_BITS, kContrastBitsMin, kContrastBitsMax,
                      settings_.ContrastBits);
  view_->CreateUpDown(IDC_BRIGHTNESS_BITS_SPIN, IDC_BRIGHTNESS_BITS, kBrightnessBitsMin, kBrightnessBitsMax,
                      settings_.BrightnessBits);
  // The expert values only matter to version 1.
  EnableExpertPage(settings_.EncodeVersion == 1);
}

void SettingsDialog::EnableExpertPage(bool enabled) {
  for (int id : {IDC_MAX_CONTRAST, IDC_MAX_BRIGHTNESS, IDC_CONTRAST_BITS_SPIN, IDC_BRIGHTNESS_BITS_SPIN})
    view_->Enable(id, enabled);
}

void SettingsDialog::OnCommand(int id, int code) {
  if (code == kTabChanged && id == IDC_SETTINGS_TAB) {
    const bool basic = view_->SelectedTab(IDC_SETTINGS_TAB) == 0;
    view_->ShowPage(IDD_SETTINGS_BASIC, basic);
    view_->ShowPage(IDD_SETTINGS_EXPERT, !basic);
    return;
  }
  if (code == kUpDownMoved) {
    const int buddy = id == IDC_DEST_BITS_SPIN         ? IDC_DEST_BITS
                      : id == IDC_CONTRAST_BITS_SPIN   ? IDC_CONTRAST_BITS
                      : id == IDC_BRIGHTNESS_BITS_SPIN ? IDC_BRIGHTNESS_BITS
                                                       : 0;
    if (buddy) view_->SetText(buddy, std::to_string(view_->UpDownPosition(id)));
    return;
  }
  if (code != kClicked) return;
  switch (id) {
  case IDC_VERSION1: EnableExpertPage(true); break;
  case IDC_VERSION2: EnableExpertPage(false); break;
  case IDC_RESTORE_DEFAULTS:
    ResetExpertPage();
    ResetBasicPage();
    break;
  case 1:
    if (ApplyBasicPage() && ApplyExpertPage()) view_->EndDialog(1);
    break;
  case 2: view_->EndDialog(2); break;
  default: break;
  }
}

void SettingsDialog::OnClose() { view_->EndDialog(2); }

void SettingsDialog::ResetExpertPage() {
  view_->SetText(IDC_MAX_CONTRAST, std::to_string(kDefaults.MaxContrast));
  view_->SetText(IDC_MAX_BRIGHTNESS, std::to_string(kDefaults.MaxBrightness));
  view_->SetUpDownPosition(IDC_CONTRAST_BITS_SPIN, kDefaults.ContrastBits);
  view_->SetUpDownPosition(IDC_BRIGHTNESS_BITS_SPIN, kDefaults.BrightnessBits);
}

// The overwrite and log boxes keep their state.
void SettingsDialog::ResetBasicPage() {
  view_->SetText(IDC_MAX_ERROR, std::to_string(kDefaults.MaxError2));
  view_->SetUpDownPosition(IDC_DEST_BITS_SPIN, kDefaults.DestBits);
  view_->SetChecked(IDC_ENCODE_MIN_BITS, true);
  view_->SetChecked(IDC_VERSION1, true);
  view_->SetChecked(IDC_VERSION2, false);
  EnableExpertPage(true);
}

bool SettingsDialog::Refuse(const char* message) {
  view_->ShowMessage(message, "エラー", kMessageOk);
  return false;
}

bool SettingsDialog::ApplyBasicPage() {
  const auto maxError = ParseUnsigned(view_->Text(IDC_MAX_ERROR));
  if (!maxError) return Refuse("誤差許容値の最大値が不正です");
  settings_.MaxError2 = *maxError;
  settings_.DestBits = view_->UpDownPosition(IDC_DEST_BITS_SPIN);
  settings_.bEncodeMinBits = view_->IsChecked(IDC_ENCODE_MIN_BITS) ? 1 : 0;
  settings_.bRemake = view_->IsChecked(IDC_REMAKE) ? 1 : 0;
  settings_.bMakeLog = view_->IsChecked(IDC_MAKE_LOG) ? 1 : 0;
  if (view_->IsChecked(IDC_VERSION1))
    settings_.EncodeVersion = 1;
  else if (view_->IsChecked(IDC_VERSION2))
    settings_.EncodeVersion = 2;
  return true;
}

// Also when the page is disabled: version 2 keeps the values for later.
bool SettingsDialog::ApplyExpertPage() {
  const auto maxContrast = ParseUnsigned(view_->Text(IDC_MAX_CONTRAST));
  if (!maxContrast || *maxContrast < kLimitMin || *maxContrast > kLimitMax)
    return Refuse("コントラストの最大値が不正です");
  settings_.MaxContrast = *maxContrast;
  const auto maxBrightness = ParseUnsigned(view_->Text(IDC_MAX_BRIGHTNESS));
  if (!maxBrightness || *maxBrightness < kLimitMin || *maxBrightness > kLimitMax)
    return Refuse("輝度オフセットの最大値が不正です");
  settings_.MaxBrightness = *maxBrightness;
  settings_.ContrastBits = view_->UpDownPosition(IDC_CONTRAST_BITS_SPIN);
  settings_.BrightnessBits = view_->UpDownPosition(IDC_BRIGHTNESS_BITS_SPIN);
  return true;
}
