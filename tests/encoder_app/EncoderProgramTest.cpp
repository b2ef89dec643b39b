// tkwEncoder as a user runs it: several inputs, -o, standard input and output,
// each failure named with its file and reason, the summary, exit statuses.
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <vector>

namespace {

void Put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A mono 16-bit wave of `frames` frames; `extra` is a chunk put before the data.
std::vector<std::uint8_t> Wave(std::uint32_t frames, const std::string& extra = "", std::uint16_t bits = 16) {
  std::string w = "RIFF";
  Put32(w, static_cast<std::uint32_t>(36 + extra.size() + 2 * frames));
  w += "WAVEfmt ";
  Put32(w, 16);
  Put16(w, 1);
  Put16(w, 1);
  Put32(w, 22050);
  Put32(w, 44100);
  Put16(w, 2);
  Put16(w, bits);
  w += extra + "data";
  Put32(w, 2 * frames);
  for (std::uint32_t i = 0; i < frames; ++i)
    Put16(w, static_cast<std::uint16_t>(static_cast<std::int16_t>((i % 200) * 50 - 5000)));
  return std::vector<std::uint8_t>(w.begin(), w.end());
}

class EncoderProgram : public ::testing::Test {
protected:
  void SetUp() override {
    testutil::WriteBytes(dir.file("a.wav"), Wave(3000));
    testutil::WriteBytes(dir.file("b.wav"), Wave(2000));
    std::filesystem::create_directory(dir.file("out"));
  }

  int run(const std::string& arguments, const std::string& input = "/dev/null") {
    const std::string command = "cd '" + dir.path() + "' && '" TKW_ENCODER_PROGRAM "' --no-log " + arguments +
                                " >stdout.bin 2>stderr.txt <" + input;
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string out() { return testutil::ReadText(dir.file("stdout.bin")); }
  std::string errors() { return testutil::ReadText(dir.file("stderr.txt")); }
  std::string bytes(const std::string& name) { return testutil::ReadText(dir.file(name)); }

  testutil::TempDir dir;
};

} // namespace

TEST_F(EncoderProgram, SeveralInputsOneOutputFolderAndASummary) {
  ASSERT_EQ(run("a.wav b.wav out"), 0) << errors();
  EXPECT_TRUE(testutil::FileExists(dir.file("out/a.tkw")));
  EXPECT_TRUE(testutil::FileExists(dir.file("out/b.tkw")));
  const std::string log = out();
  EXPECT_NE(log.find("a.tkw を作成中\n"), std::string::npos) << log;
  const std::string summary = log.substr(log.rfind('\n', log.size() - 2) + 1);
  const auto sizes = std::to_string(6044 + 4044) + " -> " +
                     std::to_string(std::filesystem::file_size(dir.file("out/a.tkw")) +
                                    std::filesystem::file_size(dir.file("out/b.tkw")));
  EXPECT_EQ(summary.rfind("2 encoded, 0 skipped, 0 failed: 0.2 s of audio, " + sizes + " bytes (", 0), 0u) << summary;
  EXPECT_EQ(errors(), "");

  // Again: both exist and are skipped; -q leaves nothing on the terminal.
  ASSERT_EQ(run("-q a.wav b.wav out"), 0);
  EXPECT_EQ(out(), "");
  ASSERT_EQ(run("a.wav b.wav out"), 0);
  EXPECT_NE(out().find("0 encoded, 2 skipped, 0 failed in "), std::string::npos) << out();
}

TEST_F(EncoderProgram, StandardInputAndOutputAndANamedOutput) {
  ASSERT_EQ(run("-o named.tkw a.wav"), 0) << errors();
  const std::string reference = bytes("named.tkw");
  ASSERT_GT(reference.size(), 28u);
  ASSERT_EQ(run("- -", "a.wav"), 0) << errors(); // wave stream in, .tkw stream out
  EXPECT_EQ(out(), reference);
  EXPECT_NE(errors().find("1 encoded"), std::string::npos); // information moved to standard error
  ASSERT_EQ(run("- piped.tkw", "a.wav"), 0) << errors();
  EXPECT_EQ(bytes("piped.tkw"), reference);

  // An existing output is kept unless --overwrite.
  testutil::WriteText(dir.file("named.tkw"), "keep");
  ASSERT_EQ(run("-o named.tkw a.wav"), 0);
  EXPECT_EQ(bytes("named.tkw"), "keep");
  ASSERT_EQ(run("-f -o named.tkw a.wav"), 0);
  EXPECT_EQ(bytes("named.tkw"), reference);

  // A device named as the output is written to, not replaced.
  const std::string device = dir.file("null");
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no device node can be made here";
  ASSERT_EQ(run("-o null a.wav"), 0) << errors();
  EXPECT_TRUE(std::filesystem::is_character_file(device));
}

// Every failure is named on standard error, with its reason, and the other
// inputs are still encoded.
TEST_F(EncoderProgram, FailuresNameTheFileAndTheReason) {
  testutil::WriteBytes(dir.file("list.wav"), Wave(100, std::string("LIST\4\0\0\0INFO", 12)));
  testutil::WriteBytes(dir.file("eight.wav"), Wave(100, "", 8));
  testutil::WriteText(dir.file("notes.txt"), "text");
  const struct {
    const char* input;
    const char* reason;
  } cases[] = {
      {"missing.wav", "missing.wav: Waveファイル名が不正です (no such file)"},
      {"notes.txt", "notes.txt: Waveファイル名が不正です (the name does not end in .wav)"},
      {"list.wav", "list.wav: a \"LIST\" chunk where the format expects \"data\"; re-save the file without metadata"},
      {"eight.wav", "eight.wav: not 16-bit PCM: 8 bits per sample"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(run(std::string(c.input) + " a.wav out/"), 1);
    const std::string text = errors();
    EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_TRUE(testutil::FileExists(dir.file("out/a.tkw")));
    std::filesystem::remove(dir.file("out/a.tkw"));
  }
  // A path the engine cannot hold is said to be too long, not failed silently.
  std::string deep = dir.path();
  while (deep.size() < 520) {
    deep += "/" + std::string(90, 'd');
    std::filesystem::create_directory(deep);
  }
  testutil::WriteBytes(deep + "/x.wav", Wave(100));
  EXPECT_EQ(run("'" + deep + "/x.wav' out"), 1);
  EXPECT_NE(errors().find("x.wav: the path is "), std::string::npos) << errors();
  EXPECT_NE(errors().find(" bytes long; at most 499 fit"), std::string::npos) << errors();
}

// A folder the output cannot go to is said to be so, not reported as a bad
// input format.
TEST_F(EncoderProgram, AnOutputThatCannotBeWrittenIsNotABadInput) {
  std::filesystem::create_directories(dir.file("in/sub"));
  testutil::WriteBytes(dir.file("in/sub/x.wav"), Wave(100));
  testutil::WriteText(dir.file("out/sub"), "a file where the output folder should go");
  EXPECT_EQ(run("in out"), 1);
  EXPECT_NE(errors().find("x.wav: cannot create " + dir.file("out/sub/x.tkw") + ": "), std::string::npos) << errors();
  EXPECT_EQ(out().find("エンコードに適さない"), std::string::npos) << out();

  EXPECT_EQ(run("a.wav nowhere/"), 1);
  EXPECT_NE(errors().find("nowhere: TKWディレクトリ名が不正です (no such folder)"), std::string::npos) << errors();
  EXPECT_EQ(run("-o nowhere/a.tkw a.wav"), 1);
  EXPECT_NE(errors().find("cannot write " + dir.file("nowhere/a.tkw") + ": no folder"), std::string::npos) << errors();
}

TEST_F(EncoderProgram, UsageErrorsHelpAndVersion) {
  EXPECT_EQ(run(""), 2);
  EXPECT_NE(errors().find("tkwEncoder: no input given"), std::string::npos) << errors();
  EXPECT_NE(errors().find("Try 'tkwEncoder --help'"), std::string::npos);
  EXPECT_EQ(run("-c 7 a.wav"), 2);
  EXPECT_EQ(run("--help"), 0);
  EXPECT_NE(out().find("  -o, --output=FILE"), std::string::npos) << out();
  EXPECT_NE(out().find("Exit status:"), std::string::npos);
  // The help is read on 80-column terminals and turned into the man page.
  std::istringstream help(out());
  for (std::string line; std::getline(help, line);)
    EXPECT_LE(line.size(), 80u) << line;
  EXPECT_EQ(run("--version"), 0);
  EXPECT_EQ(out().rfind("tkwEncoder (tkw) ", 0), 0u);
  EXPECT_FALSE(testutil::FileExists(dir.file("a.tkw")));
}
