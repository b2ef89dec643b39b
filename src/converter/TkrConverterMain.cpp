// TkrConverter for the command line: packs the .tkw files named by list files
// into archives next to them.
#include "converter/TkrConvertQueue.h"
#include "converter/TkrConverterSettings.h"
#include "support/LogWriter.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "Usage: TkrConverter [options] [list-file...]\n"
                               "\n"
                               "Packs the .tkw files named in each list file into an archive next to it\n"
                               "(the list's name with the extension .tkr). Each list line holds a sound\n"
                               "number, one separator character and a file name; lines starting with ';'\n"
                               "are comments. Without list files, the queue saved in TkrList.txt is\n"
                               "converted. Lists are converted in sorted order; the log is also written to\n"
                               "Log.txt.\n"
                               "\n"
                               "Options:\n"
                               "  -p, --password TEXT  protect the archives with this password\n"
                               "  -n, --no-password    write the archives without a password\n"
                               "  -h, --help           show this help\n"
                               "\n"
                               "Without -p or -n, the password saved in TkrConverter.ini is used (when its\n"
                               "password box is on). Ctrl-C stops after the current sound; the archive being\n"
                               "written is then dropped.\n"
                               "\n"
                               "Exit status: 0 when every list was converted, 1 when any failed, 2 for a\n"
                               "usage error, 130 when stopped.\n";

class TerminalLog : public LogSink {
public:
  void AppendLogLine(const char* line) override {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
};

TkrConvertQueue* g_queue = nullptr;

extern "C" void onInterrupt(int) {
  if (g_queue) g_queue->RequestStop();
}

struct Options {
  std::optional<std::string> password;
  std::vector<std::string> lists;
  bool help = false;
};

// False on a usage error (the message is printed).
bool parseArguments(int argc, char** argv, Options& options) {
  bool onlyFiles = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (onlyFiles || argument.empty() || argument[0] != '-' || argument == "-") {
      options.lists.push_back(argument);
    } else if (argument == "--") {
      onlyFiles = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument == "-n" || argument == "--no-password") {
      options.password = std::string();
    } else if (argument == "-p" || argument == "--password") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "TkrConverter: %s needs a password\n", argument.c_str());
        return false;
      }
      options.password = argv[++i];
    } else if (argument.rfind("--password=", 0) == 0) {
      options.password = argument.substr(std::strlen("--password="));
    } else {
      std::fprintf(stderr, "TkrConverter: unknown option %s\n(see TkrConverter --help)\n", argument.c_str());
      return false;
    }
  }
  return true;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseArguments(argc, argv, options)) return 2;
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }

  TkrConverterSettings settings;
  settings.Load(TkrConverterSettings::IniPath());
  const std::string password = options.password ? *options.password : settings.EffectivePassword();
  std::vector<std::string> lists = options.lists;
  if (lists.empty()) lists = TkrConverterSettings::LoadQueue(TkrConverterSettings::QueueFilePath());

  TerminalLog terminal;
  LogWriter& log = LogWriter::Instance();
  log.SetSink(&terminal);
  if (!log.OpenFile("Log.txt")) std::fputs("TkrConverter: Log.txt cannot be written\n", stderr);

  TkrConvertQueue queue(std::move(lists), password);
  g_queue = &queue;
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
  queue.Run();
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  g_queue = nullptr;

  log.CloseFile();
  log.SetSink(nullptr);
  if (queue.WasStopped()) return 130;
  return queue.Failures() > 0 ? 1 : 0;
}
