// TkrConverter for the command line: packs the .tkw files named by list files
// into archives next to them.
#include "cli/ExitStatus.h"
#include "cli/OptionParser.h"
#include "cli/Reporter.h"
#include "converter/TkrConvertQueue.h"
#include "converter/TkrConverterSettings.h"
#include "platform/Files.h"
#include "support/LogWriter.h"
#include "support/RString.h"

#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kSummary =
    "Packs the .tkw files named in each list file into an archive next to it (the list's name with the "
    "extension .tkr). Each list line holds a sound number, one separator character and a file name; lines "
    "starting with ';' are comments. Without list files, the queue saved in TkrList.txt is converted. Lists "
    "are converted in sorted order; the log also goes to Log.txt in the current directory.";
constexpr const char* kNotes = "Without --password or --no-password, the password saved in TkrConverter.ini is\n"
                               "used (when its password box is on). Ctrl-C stops after the current sound; the\n"
                               "archive being written is then dropped.";

// The log on the terminal; the lines of the list being converted are kept so
// that a failure can be told with its reason.
class TerminalLog : public LogSink, public TkrQueueObserver {
public:
  explicit TerminalLog(cli::Reporter& reporter) : reporter_(reporter) {}

  void AppendLogLine(const char* line) override {
    reporter_.Info(line);
    if (listing_) lines_.emplace_back(line);
  }
  void OnListStarted(const std::string&) override {
    lines_.clear();
    listing_ = true;
  }
  void OnListFinished(const std::string& listPath, TkrListConverter::Result result) override {
    listing_ = false;
    if (result != TkrListConverter::Result::Failed) return;
    // The first line names the list; the rest is why it failed.
    std::string reason;
    for (std::size_t i = 1; i < lines_.size(); ++i)
      reason += (reason.empty() ? "" : " ") + cli::Reporter::OneLine(lines_[i]);
    reporter_.Error(listPath, reason.empty() ? "no archive was written" : reason);
  }

private:
  cli::Reporter& reporter_;
  bool listing_ = false;
  std::vector<std::string> lines_;
};

TkrConvertQueue* g_queue = nullptr;

extern "C" void onInterrupt(int) {
  if (g_queue) g_queue->RequestStop();
}

} // namespace

int main(int argc, char** argv) {
  std::optional<std::string> password;
  cli::OptionParser options("TkrConverter", "[options] [LIST-FILE...]", kSummary);
  options
      .Value(
          'p', "password", "TEXT", "protect the archives with this password",
          [&password](const std::string& value) {
            password = value;
            return std::string();
          },
          "the one saved in TkrConverter.ini")
      .Flag(0, "no-password", "write the archives without a password", [&password] { password = std::string(); });
  options.SetNotes(kNotes);
  options.SetExitStatuses({{0, "every list was converted"},
                           {1, "some list failed (each is named on standard error with the reason)"},
                           {2, "the command line cannot be used"},
                           {130, "stopped by Ctrl-C"}});
  const auto parsed = options.Parse(argc, argv);
  if (parsed != cli::OptionParser::Result::Run) return options.Finish(parsed);
  cli::Reporter reporter("TkrConverter");
  reporter.SetVerbosity(options.verbosity());

  TkrConverterSettings settings;
  settings.Load(TkrConverterSettings::IniPath());
  std::vector<std::string> lists = options.Operands();
  if (lists.empty()) {
    const std::string queueFile = TkrConverterSettings::QueueFilePath();
    if (plat::findFile(queueFile.c_str()) != plat::FindResult::Found)
      return options.UsageError("no list file given, and no saved queue (TkrList.txt) here");
    lists = TkrConverterSettings::LoadQueue(queueFile);
    if (lists.empty()) return options.UsageError("no list file given, and the saved queue (TkrList.txt) is empty");
    reporter.Detail("the saved queue " + queueFile + " holds " + std::to_string(lists.size()) + " list(s)");
  }
  int failures = 0;
  std::vector<std::string> usable;
  for (const std::string& list : lists) {
    if (list.size() < RString::kCapacity) {
      usable.push_back(list);
      continue;
    }
    reporter.Error(list.substr(0, 60) + "...", "the path is " + std::to_string(list.size()) + " bytes long; at most " +
                                                   std::to_string(RString::kCapacity - 1) + " fit");
    ++failures;
  }
  const std::string archivePassword = password ? *password : settings.EffectivePassword();
  reporter.Detail(archivePassword.empty() ? "the archives get no password" : "the archives get a password");

  TerminalLog terminal(reporter);
  LogWriter& log = LogWriter::Instance();
  log.SetSink(&terminal);
  if (!log.OpenFile("Log.txt")) reporter.Warning("Log.txt", "cannot be written");

  TkrConvertQueue queue(std::move(usable), archivePassword, &terminal);
  g_queue = &queue;
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
  queue.Run();
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  g_queue = nullptr;

  log.CloseFile();
  log.SetSink(nullptr);
  if (queue.WasStopped()) return cli::kExitStopped;
  return failures + queue.Failures() > 0 ? cli::kExitFileFailed : cli::kExitSuccess;
}
