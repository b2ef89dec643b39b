// TkrPassword for the command line: gives archives a new password.
#include "password/TkrPasswordChanger.h"
#include "platform/Terminal.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "Usage: TkrPassword --new PASSWORD [--old PASSWORD] archive.tkr...\n"
                               "\n"
                               "Gives each archive the new password; only the password check word in the\n"
                               "archive's header changes. For an archive that already has a password the\n"
                               "old one is needed: it is taken from --old, or asked on the terminal without\n"
                               "echo. A password can be changed but not removed.\n"
                               "\n"
                               "Options:\n"
                               "  -n, --new TEXT  the new password (required, not empty)\n"
                               "  -o, --old TEXT  the old password of protected archives\n"
                               "  -h, --help      show this help\n"
                               "\n"
                               "Exit status: 0 when every archive got the new password, 1 otherwise, 2 for a\n"
                               "usage error.\n";

constexpr int kTerminalTries = 3;

struct Options {
  std::optional<std::string> newPassword;
  std::optional<std::string> oldPassword;
  std::vector<std::string> archives;
  bool help = false;
};

bool takeValue(int argc, char** argv, int& i, const std::string& argument, const char* longName,
               std::optional<std::string>& value) {
  const std::string prefix = std::string(longName) + "=";
  if (argument.rfind(prefix, 0) == 0) {
    value = argument.substr(prefix.size());
    return true;
  }
  if (i + 1 >= argc) {
    std::fprintf(stderr, "TkrPassword: %s needs a password\n", argument.c_str());
    return false;
  }
  value = argv[++i];
  return true;
}

bool parseArguments(int argc, char** argv, Options& options) {
  bool onlyFiles = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (onlyFiles || argument.empty() || argument[0] != '-' || argument == "-") {
      options.archives.push_back(argument);
    } else if (argument == "--") {
      onlyFiles = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument == "-n" || argument == "--new" || argument.rfind("--new=", 0) == 0) {
      if (!takeValue(argc, argv, i, argument, "--new", options.newPassword)) return false;
    } else if (argument == "-o" || argument == "--old" || argument.rfind("--old=", 0) == 0) {
      if (!takeValue(argc, argv, i, argument, "--old", options.oldPassword)) return false;
    } else {
      std::fprintf(stderr, "TkrPassword: unknown option %s\n(see TkrPassword --help)\n", argument.c_str());
      return false;
    }
  }
  return true;
}

// The old password from the option (one try), else from the terminal.
bool askOldPassword(const std::optional<std::string>& given, const std::string& path,
                    const std::function<bool(std::string_view)>& isRight) {
  if (given) {
    if (isRight(*given)) return true;
    TkrPasswordChanger::ShowWrongPassword();
    return false;
  }
  const std::string prompt = "ファイル名:  " + path + "\n旧パスワードを入力して下さい: ";
  for (int attempt = 0; attempt < kTerminalTries; ++attempt) {
    std::string typed;
    if (!plat::readHiddenLine(prompt.c_str(), typed)) return false;
    if (isRight(typed)) return true;
    TkrPasswordChanger::ShowWrongPassword();
  }
  return false;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseArguments(argc, argv, options)) return 2;
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.archives.empty() && options.newPassword && !options.newPassword->empty()) {
    std::fputs("TkrPassword: no archive given (see TkrPassword --help)\n", stderr);
    return 2;
  }
  TkrPasswordChanger changer(
      options.newPassword.value_or(std::string()),
      [&options](const std::string& path, const std::function<bool(std::string_view)>& isRight) {
        return askOldPassword(options.oldPassword, path, isRight);
      },
      [](const char* line) {
        std::fputs(line, stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
      });
  return changer.ProcessAll(options.archives) ? 0 : 1;
}
