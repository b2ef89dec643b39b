// tkwdec as a user runs it: the same wave to a file, to standard output and
// to a pipe; special files stay what they are; the comparison with an
// original; statuses and messages.
#include "testutil/NamedPipe.h"
#include "testutil/TempDir.h"
#include "testutil/TkwTestWriter.h"
#include "testutil/WaveLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

namespace {

class TkwdecProgram : public ::testing::Test {
protected:
  void SetUp() override {
    testutil::TkwCodecParams codec;
    sound = testutil::MakeRandomTkwSound(7, codec, 2, 3000, 22050);
    testutil::WriteBytes(dir.file("s.tkw"), sound.bytes);
  }

  int run(const std::string& arguments) {
    const std::string command =
        "cd '" + dir.path() + "' && '" TKWDEC_PROGRAM "' " + arguments + " >stdout.bin 2>stderr.txt </dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string out() { return testutil::ReadText(dir.file("stdout.bin")); }
  std::string errors() { return testutil::ReadText(dir.file("stderr.txt")); }

  testutil::TempDir dir;
  testutil::TkwTestSound sound;
};

} // namespace

TEST_F(TkwdecProgram, StandardOutputAndPipesGetTheSameWaveAsAFile) {
  ASSERT_EQ(run("s.tkw s.wav"), 0) << errors();
  const std::string wave = testutil::ReadText(dir.file("s.wav"));
  ASSERT_EQ(wave.size(), 44u + sound.pcm.size() * 2);
  EXPECT_EQ(wave.compare(44, std::string::npos, reinterpret_cast<const char*>(sound.pcm.data()), sound.pcm.size() * 2),
            0);

  ASSERT_EQ(run("s.tkw -"), 0) << errors();
  EXPECT_EQ(out(), wave);
  EXPECT_NE(errors().find("decoded 3000 frames"), std::string::npos); // information moves to standard error

  testutil::NamedPipe pipe(dir.file("pipe"));
  ASSERT_TRUE(pipe.ok());
  EXPECT_EQ(run("-q s.tkw pipe"), 0) << errors();
  EXPECT_EQ(pipe.Received(), wave);
  EXPECT_TRUE(std::filesystem::is_fifo(pipe.path()));
  EXPECT_EQ(out(), ""); // quiet
}

// A device the user names is written to, never replaced by a regular file
// (the test's own null device: the system's is left alone).
TEST_F(TkwdecProgram, ADeviceStaysADevice) {
  const std::string device = dir.file("null");
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no device node can be made here";
  EXPECT_EQ(run("s.tkw null"), 0) << errors();
  EXPECT_TRUE(std::filesystem::is_character_file(device));
  EXPECT_FALSE(testutil::FileExists(device + ".part"));
}

TEST_F(TkwdecProgram, CompareMeasuresTheDecodingAgainstTheOriginal) {
  ASSERT_EQ(run("s.tkw original.wav"), 0) << errors();
  ASSERT_EQ(run("--compare original.wav s.tkw again.wav"), 0) << errors();
  EXPECT_NE(out().find("compared with original.wav: SNR inf dB, largest sample error 0"), std::string::npos) << out();

  testutil::WaveLayout stereo;
  stereo.channels = 2;
  stereo.sampleRate = 22050;
  testutil::WriteBytes(dir.file("short.wav"),
                       MakeWave(testutil::Pcm16Bytes(std::vector<std::int16_t>(2 * 2999)), stereo));
  testutil::WriteText(dir.file("text.wav"), "not a wave at all");
  const struct {
    const char* original;
    const char* error;
  } refused[] = {
      {"short.wav", "tkwdec: short.wav: channels or length differ"},
      {"text.wav", "tkwdec: text.wav: not a PCM wave file"},
      {"missing.wav", "tkwdec: missing.wav: no such file"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.original);
    EXPECT_EQ(run(std::string("--compare ") + c.original + " s.tkw other.wav"), 1);
    EXPECT_NE(errors().find(c.error), std::string::npos) << errors();
  }
  EXPECT_FALSE(testutil::FileExists(dir.file("other.wav")));
}

TEST_F(TkwdecProgram, FailuresAndUsageErrorsHaveTheirStatusAndReason) {
  testutil::WriteText(dir.file("bad.tkw"), "not a sound at all, just some text");
  const struct {
    const char* arguments;
    int status;
    const char* error;
  } cases[] = {
      {"missing.tkw out.wav", 1, "tkwdec: missing.tkw: no such file"},
      {"bad.tkw out.wav", 1, "tkwdec: bad.tkw: not a valid .tkw file"},
      {"s.tkw no/such/out.wav", 1, "tkwdec: no/such/out.wav: cannot be created: No such file or directory"},
      {"s.tkw", 2, "no output file given"},
      {"", 2, "no input given"},
      {"s.tkw a.wav b.wav", 2, "too many operands"},
      {"--list --all s.tkr", 2, "exclude each other"},
      {"--number x s.tkr o.wav", 2, "is not a sound number"},
      {"--frob s.tkw o.wav", 2, "unknown option --frob"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(run(c.arguments), c.status);
    EXPECT_NE(errors().find(c.error), std::string::npos) << errors();
  }
  EXPECT_FALSE(testutil::FileExists(dir.file("out.wav")));
  EXPECT_EQ(run("--help"), 0);
  EXPECT_NE(out().find("Exit status:"), std::string::npos);
}
