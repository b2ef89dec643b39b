// tkwEncoder on Linux: the encoder engine behind a command line.
#include "cli/ExitStatus.h"
#include "cli/Reporter.h"
#include "encoder_app/CommandLine.h"
#include "encoder_app/ConsoleEncoder.h"
#include "encoder_app/SettingsFile.h"
#include "encoder_app/TerminalProgress.h"
#include "platform/Console.h"
#include "support/LogWriter.h"

#include <chrono>

int main(int argc, char** argv) {
  const std::string iniPath = DefaultSettingsPath();
  EncoderSettings settings = LoadSettings(iniPath);
  EncoderCommandLine commandLine(settings);
  const auto parsed = commandLine.Parse(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed == cli::OptionParser::Result::Error) return commandLine.parser().UsageError(commandLine.error());
  if (parsed != cli::OptionParser::Result::Run) return commandLine.parser().Finish(parsed);
  const EncoderCommand& command = commandLine.command();

  cli::Reporter reporter("tkwEncoder");
  reporter.SetVerbosity(commandLine.parser().verbosity());
  reporter.SetDataOnStandardOutput(command.outputFile == "-");

  if (command.save) {
    EncoderSettings saved = settings;
    if (command.inputs.size() == 1 && command.inputs[0] != "-") saved.readPath = command.inputs[0];
    if (!command.outputFolder.empty()) saved.writePath = command.outputFolder;
    if (!SaveSettings(saved, iniPath)) {
      reporter.Error(iniPath, "cannot be written");
      return cli::kExitFileFailed;
    }
  }

  const bool bar = !reporter.quiet() && plat::isErrorStreamTerminal();
  TerminalProgress view(bar ? stderr : nullptr, reporter);
  LogWriter& log = LogWriter::Instance();
  log.SetSink(&view);
  if (settings.bMakeLog == 1 && !log.OpenFile("Log.txt")) reporter.Warning("Log.txt", "cannot be written");

  plat::installInterruptHandler();
  StopSignal stop;
  ConsoleEncoder encoder(settings, command, reporter, view, stop);
  const auto start = std::chrono::steady_clock::now();
  const int status = encoder.Run();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  view.Finish();
  log.SetSink(nullptr);
  log.CloseFile();
  if (status != cli::kExitUsage) reporter.Info(encoder.SummaryLine(seconds, status == cli::kExitStopped));
  return status;
}
