#include "encoder_app/StartCheck.h"
#include "encoder_app/CommandLine.h"

#include "platform/Files.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

namespace {
std::string Sep() { return std::string(1, plat::kPathSeparator); }
} // namespace

TEST(StartCheck, WavExtension) {
  const std::pair<std::string, bool> cases[] = {
      {"a" + Sep() + "song.WAV", true},
      {"song.wav", true},
      {"a.b" + Sep() + "song", false},
      {"song.wave", false},
      {"wav", false},
      {"a" + Sep() + ".wav", true},
      {"song.wav.txt", false},
  };
  for (const auto& [path, ok] : cases)
    EXPECT_EQ(HasWavExtension(path), ok) << path;
}

TEST(StartCheck, PathsBeforeAnEncode) {
  testutil::TempDir dir;
  testutil::WriteText(dir.file("song.WAV"), "x");
  testutil::WriteText(dir.file("notes.txt"), "x");
  const struct {
    const char* name;
    std::string read, write;
    int burst;
    const char* problem;
  } cases[] = {
      {"file mode", dir.file("song.WAV"), dir.path(), 0, ""},
      {"missing output folder", dir.file("song.WAV"), dir.file("nope"), 0, "TKWディレクトリ名が不正です"},
      {"output is a file", dir.file("song.WAV"), dir.file("notes.txt"), 0, "TKWディレクトリ名が不正です"},
      {"missing wave", dir.file("other.wav"), dir.path(), 0, "Waveファイル名が不正です"},
      {"not a wave name", dir.file("notes.txt"), dir.path(), 0, "Waveファイル名が不正です"},
      {"directory mode", dir.path(), dir.path(), 1, ""},
      {"missing wave folder", dir.file("nope"), dir.path(), 1, "Waveディレクトリ名が不正です"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EncoderSettings s;
    s.readPath = c.read;
    s.writePath = c.write;
    s.bBurst = c.burst;
    EXPECT_EQ(StartProblem(s), c.problem);
  }
}
