// Gives archives a new password: only the check word in the 16-byte header
// changes. An archive that already has a password is changed only after its
// old password has been given.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TkrPasswordChanger {
public:
  enum class Result { Changed, NotFound, NotTkrFile, WriteFailed, Cancelled, PathTooLong };

  // Longer passwords are refused, never cut: a cut password would not be the
  // one the user typed, and would not open the archive later.
  static constexpr std::size_t kMaxPasswordLength = 254;
  static constexpr const char* kCaption = "パスワード設定ユーリティー";

  // Asks for the old password of the archive at `path`, giving each try to
  // `isRight`, until one is right (true) or the user gives up (false).
  using OldPasswordPrompt =
      std::function<bool(const std::string& path, const std::function<bool(std::string_view)>& isRight)>;
  // One log line, without its line ending.
  using LogLine = std::function<void(const char* line)>;

  TkrPasswordChanger(std::string_view newPassword, OldPasswordPrompt prompt, LogLine log);

  // Processes the archives in order and stops at the first cancelled prompt.
  // An empty new password, or one longer than kMaxPasswordLength bytes, is
  // refused with a message box before any archive is touched. True when
  // every archive got the new password.
  bool ProcessAll(const std::vector<std::string>& paths);

  // One archive. A path of 500 bytes or more cannot be held by the program's
  // path buffers: it is refused with a log line and the archive untouched.
  Result Process(const std::string& path);

  // The message box for a wrong old password.
  static void ShowWrongPassword();

private:
  std::string newPassword_;
  OldPasswordPrompt prompt_;
  LogLine log_;
};
