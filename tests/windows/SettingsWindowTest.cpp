#include "encoder_app/SettingsDialog.h"
#include "encoder_app/resources/resource.h"
#include "windows/FakeDialogView.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testutil::FakeDialogView;

class SettingsWindowTest : public ::testing::Test {
protected:
  void Open() { view.Open(); }
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& shown : view.messages()) {
      EXPECT_EQ(shown.caption, "エラー");
      texts.push_back(shown.text);
    }
    view.clearMessages();
    return texts;
  }

  EncoderSettings settings;
  SettingsDialog dialog{settings};
  FakeDialogView view{dialog};
};

TEST_F(SettingsWindowTest, OpeningShowsTheSettingsOnTwoPages) {
  settings.MaxError2 = 250;
  settings.DestBits = 12;
  settings.bEncodeMinBits = 0;
  settings.bRemake = 1;
  settings.bMakeLog = 0;
  settings.EncodeVersion = 1;
  settings.ContrastBits = 6;
  Open();
  EXPECT_EQ(view.control(IDC_SETTINGS_TAB).tabs, (std::vector<std::string>{"基本", "マニアック"}));
  EXPECT_EQ(view.pagesCreated(), (std::vector<int>{IDD_SETTINGS_BASIC, IDD_SETTINGS_EXPERT}));
  EXPECT_TRUE(view.pageShown(IDD_SETTINGS_BASIC));
  EXPECT_FALSE(view.pageShown(IDD_SETTINGS_EXPERT));
  EXPECT_EQ(view.Text(IDC_MAX_ERROR), "250");
  EXPECT_EQ(view.Text(IDC_DEST_BITS), "12");
  EXPECT_EQ(view.control(IDC_DEST_BITS_SPIN).minimum, 10);
  EXPECT_EQ(view.control(IDC_DEST_BITS_SPIN).maximum, 13);
  EXPECT_FALSE(view.IsChecked(IDC_ENCODE_MIN_BITS));
  EXPECT_TRUE(view.IsChecked(IDC_REMAKE));
  EXPECT_FALSE(view.IsChecked(IDC_MAKE_LOG));
  EXPECT_TRUE(view.IsChecked(IDC_VERSION1));
  EXPECT_TRUE(view.IsEnabled(IDC_MAX_CONTRAST));
  EXPECT_EQ(view.Text(IDC_MAX_CONTRAST), "3");
  EXPECT_EQ(view.Text(IDC_MAX_BRIGHTNESS), "15000");
  EXPECT_EQ(view.Text(IDC_CONTRAST_BITS), "6");
  EXPECT_EQ(view.Text(IDC_BRIGHTNESS_BITS), "9");

  view.SelectTab(IDC_SETTINGS_TAB, 1);
  EXPECT_FALSE(view.pageShown(IDD_SETTINGS_BASIC));
  EXPECT_TRUE(view.pageShown(IDD_SETTINGS_EXPERT));
  view.SelectTab(IDC_SETTINGS_TAB, 0);
  EXPECT_TRUE(view.pageShown(IDD_SETTINGS_BASIC));

  // The version buttons switch the expert page; the up-downs fill their edits.
  view.SelectRadio(IDC_VERSION2, {IDC_VERSION1, IDC_VERSION2});
  for (int id : {IDC_MAX_CONTRAST, IDC_MAX_BRIGHTNESS, IDC_CONTRAST_BITS_SPIN, IDC_BRIGHTNESS_BITS_SPIN})
    EXPECT_FALSE(view.IsEnabled(id)) << id;
  view.MoveUpDown(IDC_DEST_BITS_SPIN, 13);
  view.MoveUpDown(IDC_BRIGHTNESS_BITS_SPIN, 7);
  EXPECT_EQ(view.Text(IDC_DEST_BITS), "13");
  view.Type(IDC_MAX_CONTRAST, "7");
  view.Click(1);
  EXPECT_TRUE(view.ended());
  EXPECT_EQ(settings.EncodeVersion, 2);
  EXPECT_EQ(settings.DestBits, 13);
  EXPECT_EQ(settings.BrightnessBits, 7);
  EXPECT_EQ(settings.MaxContrast, 7); // kept for version 1 although version 2 ignores it
  EXPECT_EQ(settings.bRemake, 1);
  EXPECT_EQ(settings.bMakeLog, 0);
}

TEST_F(SettingsWindowTest, VersionThreeIsShownAndStoredAsVersionTwo) {
  settings.EncodeVersion = 3;
  Open();
  EXPECT_TRUE(view.IsChecked(IDC_VERSION2));
  EXPECT_FALSE(view.IsChecked(IDC_VERSION1));
  EXPECT_FALSE(view.IsEnabled(IDC_MAX_CONTRAST));
  view.Click(1);
  EXPECT_EQ(settings.EncodeVersion, 2);
}

TEST_F(SettingsWindowTest, DefaultsSelectVersionOneAndKeepTheOverwriteAndLogBoxes) {
  settings.MaxError2 = 5;
  settings.DestBits = 13;
  settings.bEncodeMinBits = 0;
  settings.bRemake = 1;
  settings.bMakeLog = 0;
  settings.MaxContrast = 9;
  settings.MaxBrightness = 99;
  settings.ContrastBits = 5;
  settings.BrightnessBits = 10;
  Open();
  view.Click(IDC_RESTORE_DEFAULTS);
  EXPECT_TRUE(view.IsChecked(IDC_VERSION1));
  EXPECT_FALSE(view.IsChecked(IDC_VERSION2));
  EXPECT_TRUE(view.IsEnabled(IDC_MAX_CONTRAST));
  EXPECT_EQ(view.Text(IDC_DEST_BITS), "10");
  // Nothing is stored before the dialog is confirmed.
  EXPECT_EQ(settings.MaxError2, 5);
  view.Click(1);
  const EncoderSettings expected;
  EXPECT_EQ(settings.EncodeVersion, 1);
  EXPECT_EQ(settings.MaxError2, expected.MaxError2);
  EXPECT_EQ(settings.DestBits, expected.DestBits);
  EXPECT_EQ(settings.bEncodeMinBits, 1);
  EXPECT_EQ(settings.bRemake, 1);
  EXPECT_EQ(settings.bMakeLog, 0);
  EXPECT_EQ(settings.MaxContrast, expected.MaxContrast);
  EXPECT_EQ(settings.MaxBrightness, expected.MaxBrightness);
  EXPECT_EQ(settings.ContrastBits, expected.ContrastBits);
  EXPECT_EQ(settings.BrightnessBits, expected.BrightnessBits);
}

TEST_F(SettingsWindowTest, BadNumbersAreRefusedAndTheDialogStaysOpen) {
  struct Case {
    int field;
    const char* text;
    const char* message; // null: accepted
  };
  const Case cases[] = {
      {IDC_MAX_ERROR, "", "誤差許容値の最大値が不正です"},
      {IDC_MAX_ERROR, "abc", "誤差許容値の最大値が不正です"},
      {IDC_MAX_ERROR, "-5", "誤差許容値の最大値が不正です"},
      {IDC_MAX_ERROR, "12x", "誤差許容値の最大値が不正です"},
      {IDC_MAX_ERROR, "99999999999", "誤差許容値の最大値が不正です"},
      {IDC_MAX_ERROR, "0", nullptr},
      {IDC_MAX_ERROR, " 42 ", nullptr},
      {IDC_MAX_CONTRAST, "-1", "コントラストの最大値が不正です"},
      {IDC_MAX_CONTRAST, "0", "コントラストの最大値が不正です"},
      {IDC_MAX_CONTRAST, "65536", "コントラストの最大値が不正です"},
      {IDC_MAX_CONTRAST, "65535", nullptr},
      {IDC_MAX_BRIGHTNESS, "", "輝度オフセットの最大値が不正です"},
      {IDC_MAX_BRIGHTNESS, "70000", "輝度オフセットの最大値が不正です"},
      {IDC_MAX_BRIGHTNESS, "1", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.field));
    EncoderSettings edited;
    SettingsDialog dialog(edited);
    FakeDialogView view(dialog);
    view.Open();
    view.Type(c.field, c.text);
    view.Click(1);
    const auto shown = view.messages();
    if (c.message) {
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0].text, c.message);
      EXPECT_EQ(shown[0].caption, "エラー");
      EXPECT_FALSE(view.ended());
    } else {
      EXPECT_TRUE(shown.empty());
      EXPECT_TRUE(view.ended());
    }
  }
}

TEST_F(SettingsWindowTest, ABasicPageThatAppliedKeepsItsValuesWhenTheExpertPageFails) {
  Open();
  view.Type(IDC_MAX_ERROR, "55");
  view.SelectRadio(IDC_VERSION1, {IDC_VERSION1, IDC_VERSION2});
  view.Type(IDC_MAX_CONTRAST, "x");
  view.Click(1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"コントラストの最大値が不正です"});
  EXPECT_FALSE(view.ended());
  view.Click(2);
  EXPECT_TRUE(view.ended());
  EXPECT_EQ(settings.MaxError2, 55);
  EXPECT_EQ(settings.EncodeVersion, 1);
  EXPECT_EQ(settings.MaxContrast, 3);

  // A failing basic page stores nothing of either page.
  EncoderSettings other;
  SettingsDialog second(other);
  FakeDialogView secondView(second);
  secondView.Open();
  secondView.Type(IDC_MAX_ERROR, "-1");
  secondView.Type(IDC_MAX_CONTRAST, "8");
  secondView.Click(1);
  secondView.Close();
  EXPECT_EQ(other.MaxError2, 100);
  EXPECT_EQ(other.MaxContrast, 3);
}

} // namespace
