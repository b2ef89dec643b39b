// TkrPassword for the command line: gives archives a new password.
#include "cli/ExitStatus.h"
#include "cli/OptionParser.h"
#include "cli/Reporter.h"
#include "password/TkrPasswordChanger.h"
#include "platform/Terminal.h"
#include "support/Exceptions.h"
#include "support/RString.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kSummary =
    "Gives each archive the new password; only the password check word in the archive's header changes. "
    "For an archive that already has a password the old one is needed: it is taken from --old, or asked "
    "on the terminal without echo. A password can be changed but not removed.";
constexpr int kTerminalTries = 3;
constexpr const char* kWrongPassword = "パスワードが違います";

struct Options {
  std::optional<std::string> newPassword;
  std::optional<std::string> oldPassword;
};

// The old password of one archive from the option (one try), else from the
// terminal (a few tries). `wrongOption` tells a wrong --old from giving up.
bool AskOldPassword(const Options& options, cli::Reporter& reporter, const std::string& path,
                    const std::function<bool(std::string_view)>& isRight, bool& wrongOption) {
  if (options.oldPassword) {
    if (isRight(*options.oldPassword)) return true;
    wrongOption = true;
    return false;
  }
  const std::string prompt = "ファイル名:  " + path + "\n旧パスワードを入力して下さい: ";
  for (int attempt = 0; attempt < kTerminalTries; ++attempt) {
    std::string typed;
    if (!plat::readHiddenLine(prompt.c_str(), typed)) return false;
    if (isRight(typed.substr(0, TkrPasswordChanger::kMaxPasswordLength))) return true;
    std::fprintf(stderr, "%s\n", kWrongPassword);
  }
  reporter.Error(path, std::string(kWrongPassword) + " (" + std::to_string(kTerminalTries) + " tries)");
  return false;
}

std::string ReasonOf(TkrPasswordChanger::Result result) {
  switch (result) {
  case TkrPasswordChanger::Result::NotFound: return "そのファイルは存在しません";
  case TkrPasswordChanger::Result::NotTkrFile: return "そのファイルはTkrファイルではありません";
  case TkrPasswordChanger::Result::WriteFailed: return "パスワードを書き込めませんでした";
  default: return {};
  }
}

std::string LongPath(const std::string& given) {
  try {
    RString path(given.c_str());
    path.ToLongPathName(LongNameRule::MissingIsSuccess);
    return path.c_str();
  } catch (const CopyStringError&) {
    return given;
  }
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  cli::OptionParser parser("TkrPassword", "[options] --new PASSWORD ARCHIVE...", kSummary);
  parser
      .Value('n', "new", "PASSWORD", "the new password (required, not empty; at most 254 characters are used)",
             [&options](const std::string& value) {
               options.newPassword = value;
               return std::string();
             })
      .Value(
          0, "old", "PASSWORD", "the old password of protected archives",
          [&options](const std::string& value) {
            options.oldPassword = value;
            return std::string();
          },
          "asked on the terminal");
  parser.SetExitStatuses({{0, "every archive got the new password"},
                          {1, "some archive did not (each is named on standard error with the reason)"},
                          {2, "the command line cannot be used"},
                          {130, "stopped by Ctrl-C"}});
  const auto parsed = parser.Parse(argc, argv);
  if (parsed != cli::OptionParser::Result::Run) return parser.Finish(parsed);
  if (!options.newPassword) return parser.UsageError("no new password given (--new PASSWORD)");
  // A password can be changed but never removed.
  if (options.newPassword->empty()) return parser.UsageError("パスワードが設定されてないとまずいっしょ（笑）");
  if (parser.Operands().empty()) return parser.UsageError("no archive given");

  cli::Reporter reporter("TkrPassword");
  reporter.SetVerbosity(parser.verbosity());
  bool wrongOption = false;
  TkrPasswordChanger changer(
      *options.newPassword,
      [&](const std::string& path, const std::function<bool(std::string_view)>& isRight) {
        return AskOldPassword(options, reporter, path, isRight, wrongOption);
      },
      [&reporter](const char* line) { reporter.Info(line); });

  int failures = 0;
  for (const std::string& given : parser.Operands()) {
    if (given.size() >= RString::kCapacity) {
      reporter.Error(given.substr(0, 60) + "...", "the path is " + std::to_string(given.size()) +
                                                      " bytes long; at most " + std::to_string(RString::kCapacity - 1) +
                                                      " fit");
      ++failures;
      continue;
    }
    const std::string path = LongPath(given);
    wrongOption = false;
    const TkrPasswordChanger::Result result = changer.Process(path);
    if (result == TkrPasswordChanger::Result::Changed) continue;
    ++failures;
    if (result != TkrPasswordChanger::Result::Cancelled) {
      reporter.Error(path, ReasonOf(result));
    } else if (wrongOption) {
      // A wrong --old fails this archive only.
      reporter.Error(path, std::string(kWrongPassword) + " (--old)");
    } else {
      // Giving up on one question ends the rest, as cancelling the window does.
      reporter.Info("パスワードの変更を中断しました");
      break;
    }
  }
  return failures > 0 ? cli::kExitFileFailed : cli::kExitSuccess;
}
