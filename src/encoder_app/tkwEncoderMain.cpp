// tkwEncoder on Linux: the encoder engine behind a command line.
#include "encoder/EncodeDriver.h"
#include "encoder_app/CommandLine.h"
#include "encoder_app/SettingsFile.h"
#include "encoder_app/StartCheck.h"
#include "encoder_app/TerminalProgress.h"
#include "platform/Console.h"
#include "support/Exceptions.h"
#include "support/LogWriter.h"

#include <cstdio>

namespace {

// Ctrl-C reaches the engine as a stop request at its next block.
class ConsoleProgress : public EncodeProgress {
public:
  ConsoleProgress(ProgressView& view, StopSignal& stop) : EncodeProgress(view, stop), stop_(stop) {}
  void OnProgress(std::uint64_t total, std::uint64_t done) override {
    if (plat::interruptRequested()) stop_.Request();
    EncodeProgress::OnProgress(total, done);
  }

private:
  StopSignal& stop_;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "tkwEncoder: %s\n", message.c_str());
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  const std::string iniPath = DefaultSettingsPath();
  EncoderSettings settings = LoadSettings(iniPath);
  const CommandLine command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), settings);
  if (command.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (!command.error.empty()) return Fail(command.error + " (see --help)");
  if (std::string problem = SettingsProblem(settings); !problem.empty()) return Fail(problem);
  if (std::string problem = StartProblem(settings); !problem.empty()) return Fail(problem);
  if (command.save && !SaveSettings(settings, iniPath)) return Fail("cannot write " + iniPath);

  TerminalProgress view(!command.quiet && plat::isErrorStreamTerminal());
  LogWriter& log = LogWriter::Instance();
  log.SetSink(&view);
  if (settings.bMakeLog == 1 && !log.OpenFile("Log.txt")) std::fprintf(stderr, "tkwEncoder: cannot write Log.txt\n");

  plat::installInterruptHandler();
  StopSignal stop;
  ConsoleProgress progress(view, stop);
  EncodeDriver driver(settings, progress);
  driver.SetThreadCount(command.threads);
  int status = 0;
  try {
    driver.Run();
    if (driver.counts().failed > 0) status = 1;
  } catch (const User_Cannceled&) {
    status = 130;
  } catch (const EC_BadSettings& bad) {
    status = Fail(bad.message);
  }
  view.Finish();
  log.SetSink(nullptr);
  log.CloseFile();
  const EncodeDriver::Counts& counts = driver.counts();
  std::fprintf(stderr, "%s%d encoded, %d skipped, %d failed\n", status == 130 ? "stopped: " : "", counts.encoded,
               counts.skipped, counts.failed);
  return status;
}
