#include "encoder_app/EncoderMainWindow.h"
#include "encoder_app/ProgressDialog.h"
#include "encoder_app/resources/resource.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "testutil/TempDir.h"
#include "windows/FakeDialogView.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

using testutil::FakeDialogView;

// A text file as lines ending in LF: Windows writes text files with CR LF.
std::string ReadLines(const std::string& path) {
  std::string text = testutil::ReadText(path);
  std::erase(text, '\r');
  return text;
}

// A mono 16-bit PCM wave file of `frames` frames of a gentle saw.
void WriteWave(const std::string& path, std::uint32_t frames) {
  std::vector<std::uint8_t> bytes(44 + 2 * frames);
  auto put = [&](std::size_t at, const char* id) { std::copy(id, id + 4, bytes.begin() + at); };
  put(0, "RIFF");
  StoreLe32(&bytes[4], static_cast<std::uint32_t>(bytes.size() - 8));
  put(8, "WAVE");
  put(12, "fmt ");
  StoreLe32(&bytes[16], 16);
  StoreLe16(&bytes[20], 1);
  StoreLe16(&bytes[22], 1);
  StoreLe32(&bytes[24], 22050);
  StoreLe32(&bytes[28], 44100);
  StoreLe16(&bytes[32], 2);
  StoreLe16(&bytes[34], 16);
  put(36, "data");
  StoreLe32(&bytes[40], 2 * frames);
  for (std::uint32_t i = 0; i < frames; ++i)
    StoreLe16(&bytes[44 + 2 * i], static_cast<std::uint16_t>(static_cast<std::int16_t>((i % 200) * 50 - 5000)));
  testutil::WriteBytes(path, bytes);
}

class EncoderWindowTest : public ::testing::Test {
protected:
  std::string Ini() const { return dir.file("TkwEncoder.ini"); }
  void SetPaths(const std::string& input, const std::string& output) {
    plat::writeProfileString("ReadPath", "Hist0", input.c_str(), Ini().c_str());
    plat::writeProfileString("WritePath", "Hist0", output.c_str(), Ini().c_str());
  }
  void SetKey(const char* key, int value) {
    plat::writeProfileString("EncodeParam", key, std::to_string(value).c_str(), Ini().c_str());
  }
  std::string Folder(const std::string& name) {
    const std::string path = dir.file(name);
    plat::makeDirectory(path.c_str());
    return path;
  }

  testutil::TempDir dir;
  testutil::ScopedCurrentDirectory inDir{dir.path()};
};

TEST_F(EncoderWindowTest, StartUpAndTheModeSwitch) {
  SetKey("bBurst", 1);
  SetKey("bSearchSub", 0);
  SetPaths(dir.file("in"), dir.file("out"));
  EncoderMainWindow window(Ini());
  FakeDialogView view(window);
  view.Open();
  EXPECT_EQ(view.Text(IDC_WAVE_PATH), dir.file("in"));
  EXPECT_EQ(view.Text(IDC_TKW_PATH), dir.file("out"));
  EXPECT_EQ(view.control(IDC_TKW_PATH_BUTTON).image, IDI_OUTPUT_FOLDER);
  EXPECT_EQ(view.dropTargets, (std::vector<int>{IDC_WAVE_PATH, IDC_TKW_PATH}));

  struct Mode {
    bool directory;
    const char* label;
    int bitmap;
  };
  const Mode modes[] = {{true, "入力側 - Waveファイルがあるフォルダ", IDB_FOLDER_MODE},
                        {false, "入力側 - Waveファイル名(フルパス)", IDB_FILE_MODE},
                        {true, "入力側 - Waveファイルがあるフォルダ", IDB_FOLDER_MODE}};
  bool first = true;
  for (const Mode& mode : modes) {
    if (!first) view.Toggle(IDC_BURST);
    first = false;
    EXPECT_EQ(view.IsChecked(IDC_BURST), mode.directory);
    EXPECT_EQ(view.Text(IDC_WAVE_PATH_LABEL), mode.label);
    EXPECT_EQ(view.control(IDC_WAVE_PATH_BUTTON).image, mode.bitmap);
    EXPECT_EQ(view.IsEnabled(IDC_SEARCH_SUB), mode.directory);
    EXPECT_FALSE(view.IsChecked(IDC_SEARCH_SUB));
    EXPECT_EQ(window.Settings().bBurst, mode.directory ? 1 : 0);
  }
}

TEST_F(EncoderWindowTest, StartRefusesBadPathsWithTheirMessages) {
  const std::string in = Folder("in"), out = Folder("out");
  testutil::WriteText(dir.file("in") + plat::kPathSeparator + "song.WAV", "x");
  testutil::WriteText(dir.file("in") + plat::kPathSeparator + "song.wave", "x");
  const std::string sep(1, plat::kPathSeparator);
  struct Case {
    bool directoryMode;
    std::string input, output;
    const char* message; // null: the encode starts
  };
  const Case cases[] = {
      {false, in + sep + "song.WAV", dir.file("missing"), "TKWディレクトリ名が不正です"},
      {true, dir.file("missing"), out, "Waveディレクトリ名が不正です"},
      {true, in, out, nullptr},
      {false, in + sep + "gone.wav", out, "Waveファイル名が不正です"},
      {false, in + sep + "song.wave", out, "Waveファイル名が不正です"},
      {false, dir.file("a.b") + sep + "song", out, "Waveファイル名が不正です"},
      {false, in, out, "Waveファイル名が不正です"},
      {false, std::string(600, 'a'), out, "Waveファイル名が不正です"},
      {false, in + sep + "song.WAV", out, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    Folder("out"); // an encode of an empty batch removes its empty output folder
    EncoderMainWindow window(Ini());
    FakeDialogView view(window);
    view.Open();
    view.SetChecked(IDC_BURST, c.directoryMode);
    view.Click(IDC_BURST);
    view.Type(IDC_WAVE_PATH, c.input);
    view.Type(IDC_TKW_PATH, c.output);
    int opened = 0;
    view.modalScript = [&](int templateId, DialogController&, FakeDialogView& progress) {
      EXPECT_EQ(templateId, IDD_PROGRESS);
      ++opened;
      progress.Close();
      return 0;
    };
    view.Click(IDC_START);
    const auto shown = view.messages();
    if (c.message) {
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0].text, c.message);
      EXPECT_EQ(shown[0].caption, "エラー");
      EXPECT_EQ(opened, 0);
    } else {
      EXPECT_TRUE(shown.empty());
      EXPECT_EQ(opened, 1);
    }
  }
}

TEST_F(EncoderWindowTest, DropsTakeTheFirstFileAndExitKeepsOnlyTakenPaths) {
  SetPaths(dir.file("old-in"), dir.file("old-out"));
  const std::string a = dir.file("a.wav"), b = dir.file("b.wav");
  testutil::WriteText(a, "x");
  testutil::WriteText(b, "x");
  {
    EncoderMainWindow window(Ini());
    FakeDialogView view(window);
    view.Open();
    view.Drop(IDC_WAVE_PATH, {a, b});
    EXPECT_EQ(view.Text(IDC_WAVE_PATH), a);
    view.Drop(IDC_TKW_PATH, {std::string(600, 'x'), a});
    EXPECT_EQ(view.Text(IDC_TKW_PATH), dir.file("old-out"));
    view.Drop(IDC_TKW_PATH, {dir.path()});
    // The close box does not take the edits.
    view.Close();
  }
  EXPECT_EQ(plat::profileString("ReadPath", "Hist0", "", Ini().c_str()), dir.file("old-in"));
  {
    EncoderMainWindow window(Ini());
    FakeDialogView view(window);
    view.Open();
    view.Drop(IDC_WAVE_PATH, {b});
    view.Click(IDC_EXIT);
    EXPECT_TRUE(view.ended());
  }
  EXPECT_EQ(plat::profileString("ReadPath", "Hist0", "", Ini().c_str()), b);
  EXPECT_EQ(plat::profileString("WritePath", "Hist0", "", Ini().c_str()), dir.file("old-out"));
  EXPECT_EQ(plat::profileInt("EncodeParam", "EncodeVersion", 0, Ini().c_str()), 2);
}

TEST_F(EncoderWindowTest, BrowsingOpensTheFolderOrTheFileDialog) {
  const std::string in = Folder("in");
  EncoderMainWindow window(Ini());
  FakeDialogView view(window);
  view.Open();
  std::vector<std::string> opened;
  window.openFolder = [&](const char* folder) {
    opened.emplace_back(folder);
    return true;
  };
  view.SetChecked(IDC_BURST, true);
  view.Click(IDC_BURST);
  view.Type(IDC_WAVE_PATH, in);
  view.Click(IDC_WAVE_PATH_BUTTON);
  view.Type(IDC_WAVE_PATH, in + plat::kPathSeparator + "not-there");
  view.Click(IDC_WAVE_PATH_BUTTON);
  view.Type(IDC_TKW_PATH, dir.path());
  view.Click(IDC_TKW_PATH_BUTTON);
  EXPECT_EQ(opened, (std::vector<std::string>{in, in, dir.path()}));

  view.Toggle(IDC_BURST);
  view.chosenFile = dir.file("x.wav");
  view.Click(IDC_WAVE_PATH_BUTTON);
  EXPECT_EQ(view.chooseTitle, "圧縮したいWaveファイルを選択して下さい");
  EXPECT_EQ(view.chooseFilterName, "Waveファイル(*.wav)");
  EXPECT_EQ(view.choosePattern, "*.wav");
  EXPECT_EQ(view.Text(IDC_WAVE_PATH), dir.file("x.wav"));
  view.chosenFile.clear();
  view.Click(IDC_WAVE_PATH_BUTTON);
  EXPECT_EQ(view.Text(IDC_WAVE_PATH), dir.file("x.wav"));
  EXPECT_EQ(opened.size(), 3u);
}

// A real encode through the windows, with and without Log.txt.
TEST_F(EncoderWindowTest, AnEncodeShowsItsProgressAndLog) {
  const std::string out = Folder("out");
  WriteWave(dir.file("song.wav"), 3000);
  for (int makeLog : {1, 0}) {
    SCOPED_TRACE(makeLog);
    plat::removeFile(dir.file("Log.txt").c_str());
    plat::removeFile((out + plat::kPathSeparator + "song.tkw").c_str());
    SetKey("bMakeLog", makeLog);
    SetPaths(dir.file("song.wav"), out);
    EncoderMainWindow window(Ini());
    FakeDialogView view(window);
    view.Open();
    view.modalScript = [&](int, DialogController&, FakeDialogView& progress) {
      EXPECT_EQ(progress.Text(IDC_PROGRESS_CLOSE), "");
      EXPECT_TRUE(progress.PumpUntil([&] { return progress.Text(IDC_PROGRESS_CLOSE) == "終了"; }));
      EXPECT_EQ(progress.Text(IDC_CURRENT_WAVE), dir.file("song.wav"));
      EXPECT_EQ(progress.Text(IDC_CURRENT_TKW), out + plat::kPathSeparator + "song.tkw");
      EXPECT_EQ(progress.control(IDC_PROGRESS_BAR).progress, 100);
      EXPECT_EQ(progress.Text(IDC_REMAINING), "0秒");
      const std::string log = progress.Text(IDC_PROGRESS_LOG);
      EXPECT_EQ(log.rfind(out + plat::kPathSeparator + "song.tkw を作成中\r\n経過時間 ", 0), 0u) << log;
      EXPECT_NE(log.find("秒でエンコードが終了しました。\r\n6044 → "), std::string::npos) << log;
      EXPECT_NE(log.find("％）\r\n \r\n"), std::string::npos) << log;
      progress.Click(IDC_PROGRESS_CLOSE);
      EXPECT_TRUE(progress.ended());
      return 0;
    };
    view.Click(IDC_START);
    EXPECT_TRUE(view.messages().empty());
    EXPECT_TRUE(testutil::FileExists(out + plat::kPathSeparator + "song.tkw"));
    EXPECT_EQ(testutil::FileExists(dir.file("Log.txt")), makeLog == 1);
    if (makeLog) {
      EXPECT_NE(ReadLines(dir.file("Log.txt")).find("を作成中\n"), std::string::npos);
    }
  }
}

TEST_F(EncoderWindowTest, TheBarAndTimeFollowTheEngineOncePerSecond) {
  EncoderSettings settings;
  settings.bMakeLog = 0;
  std::atomic<std::uint32_t> now{0};
  std::atomic<int> step{0};
  EncoderMainWindow main(Ini());
  FakeDialogView mainView(main);
  ProgressDialog dialog(
      settings, mainView,
      [&](const EncoderSettings&, EncoderCallbacks& engine) {
        engine.OnFileStart("in.wav", "out.tkw");
        now = 1000;
        engine.OnProgress(4, 1); // not yet half done
        step = 1;
        while (step != 2)
          plat::sleepMs(1);
        now = 1500;
        engine.OnProgress(4, 2); // within a second of the last update
        now = 30000;
        engine.OnProgress(4, 3); // 30 s / 3 x 1
        step = 3;
      },
      [&] { return now.load(); });
  FakeDialogView view(dialog);
  view.Open();
  ASSERT_TRUE(view.PumpUntil([&] { return step == 1 && view.control(IDC_PROGRESS_BAR).progress == 25; }));
  EXPECT_EQ(view.Text(IDC_REMAINING), "--秒");
  EXPECT_EQ(view.Text(IDC_CURRENT_WAVE), "in.wav");
  step = 2;
  ASSERT_TRUE(view.PumpUntil([&] { return view.Text(IDC_PROGRESS_CLOSE) == "終了"; }));
  EXPECT_EQ(view.control(IDC_PROGRESS_BAR).progress, 75);
  EXPECT_EQ(view.Text(IDC_REMAINING), "10秒");
  view.Close();
}

// The second file's window shows "--秒" from its start, not the first file's
// "0秒" until the next update a second later.
TEST_F(EncoderWindowTest, TheNextFileStartsWithoutTheLastFilesTime) {
  EncoderSettings settings;
  settings.bMakeLog = 0;
  std::atomic<std::uint32_t> now{0};
  std::atomic<int> step{0};
  EncoderMainWindow main(Ini());
  FakeDialogView mainView(main);
  ProgressDialog dialog(
      settings, mainView,
      [&](const EncoderSettings&, EncoderCallbacks& engine) {
        engine.OnFileStart("a.wav", "a.tkw");
        now = 2000;
        engine.OnFileEnd(100, 10);
        step = 1;
        while (step != 2)
          plat::sleepMs(1);
        now = 2100;
        engine.OnFileStart("b.wav", "b.tkw");
        now = 2500; // within the second: no update yet
        engine.OnProgress(4, 3);
        step = 3;
        while (step != 4)
          plat::sleepMs(1);
      },
      [&] { return now.load(); });
  FakeDialogView view(dialog);
  view.Open();
  ASSERT_TRUE(view.PumpUntil([&] { return step == 1 && view.Text(IDC_REMAINING) == "0秒"; }));
  step = 2;
  ASSERT_TRUE(view.PumpUntil([&] { return step == 3 && view.Text(IDC_CURRENT_WAVE) == "b.wav"; }));
  EXPECT_EQ(view.Text(IDC_REMAINING), "--秒");
  EXPECT_EQ(view.control(IDC_PROGRESS_BAR).progress, 0);
  step = 4;
  ASSERT_TRUE(view.PumpUntil([&] { return view.Text(IDC_PROGRESS_CLOSE) == "終了"; }));
  view.Close();
}

TEST_F(EncoderWindowTest, ClosingStopsTheWorkerAndFreesTheMainWindow) {
  EncoderSettings settings;
  settings.bMakeLog = 0;
  std::atomic<bool> running{false}, cancelled{false};
  EncoderMainWindow main(Ini());
  FakeDialogView mainView(main);
  mainView.EnableWindow(false);
  ProgressDialog dialog(settings, mainView, [&](const EncoderSettings&, EncoderCallbacks& engine) {
    engine.OnFileStart("in.wav", "out.tkw");
    try {
      for (;;) {
        running = true;
        engine.OnProgress(100, 1);
        plat::sleepMs(1);
      }
    } catch (const User_Cannceled&) {
      cancelled = true;
      throw;
    }
  });
  FakeDialogView view(dialog);
  view.Open();
  ASSERT_TRUE(view.PumpUntil([&] { return running.load(); }));

  // Minimising the progress window takes the program to the task bar.
  view.Activate(false, true);
  EXPECT_TRUE(mainView.windowEnabled());
  EXPECT_EQ(mainView.windowShow(), WindowShow::Minimized);
  EXPECT_EQ(view.windowShow(), WindowShow::Minimized);
  view.Activate(true, false);
  EXPECT_FALSE(mainView.windowEnabled());
  EXPECT_EQ(mainView.windowShow(), WindowShow::Restored);
  EXPECT_EQ(view.windowShow(), WindowShow::Restored);

  view.Click(IDC_PROGRESS_CLOSE);
  EXPECT_TRUE(view.ended());
  EXPECT_TRUE(cancelled.load());
  EXPECT_TRUE(dialog.Finished());
  EXPECT_TRUE(mainView.windowEnabled());
  EXPECT_TRUE(view.messages().empty());
  // Late activation changes while the window goes away change nothing.
  view.Activate(false, false);
  EXPECT_TRUE(mainView.windowEnabled());
}

} // namespace
