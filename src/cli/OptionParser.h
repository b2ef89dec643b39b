// The command lines of the programs: one table of options with short and long
// names, GNU-style parsing (-qv, -c2, -c 2, --codec=2, --codec 2, "--" ends
// the options, "-" is an operand), and the --help text rendered from the same
// table with aligned columns and the defaults. -h/--help, -V/--version,
// -q/--quiet and -v/--verbose are the same in every program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cli {

enum class Verbosity { Quiet, Normal, Verbose };

class OptionParser {
public:
  // Returns the empty text when the value is taken, else why it is not.
  using ValueHandler = std::function<std::string(const std::string& value)>;

  // usage: what follows the program name ("[options] INPUT..."); summary: the
  // paragraph under it.
  OptionParser(std::string program, std::string usage, std::string summary);

  // A heading for the options that follow in the help text.
  OptionParser& Section(std::string title);
  OptionParser& Flag(char shortName, std::string longName, std::string help, std::function<void()> onSet);
  OptionParser& Value(char shortName, std::string longName, std::string valueName, std::string help,
                      ValueHandler onValue, std::string defaultText = {});

  // Typed options; the default shown is the target's value when registered.
  OptionParser& Switch(char shortName, std::string longName, std::string help, bool& target);
  // --name sets 1, --no-name sets 0; the short name (optional) sets 1.
  OptionParser& Toggle(char shortName, std::string longName, std::string help, std::int32_t& target);
  OptionParser& Number(char shortName, std::string longName, std::string valueName, std::string help,
                       std::int32_t& target, std::int64_t minimum, std::int64_t maximum);
  OptionParser& Text(char shortName, std::string longName, std::string valueName, std::string help, std::string& target,
                     std::string defaultText = {});

  // Text after the options in --help (examples, notes); the exit statuses follow it.
  void SetNotes(std::string notes) { notes_ = std::move(notes); }
  // The meaning of each exit status for this program, replacing the generic ones.
  void SetExitStatuses(std::vector<std::pair<int, std::string>> statuses) { statuses_ = std::move(statuses); }

  enum class Result { Run, Help, Version, Error };
  Result Parse(const std::vector<std::string>& arguments);
  Result Parse(int argc, char** argv);

  const std::vector<std::string>& Operands() const { return operands_; }
  const std::string& Error() const { return error_; }
  Verbosity verbosity() const { return verbosity_; }
  const std::string& program() const { return program_; }

  std::string HelpText() const;
  std::string VersionText() const;
  // Prints "program: message" and the hint to --help on standard error;
  // returns kExitUsage.
  int UsageError(const std::string& message) const;
  // Prints the help or version text, or the usage error, for a Result other
  // than Run; returns the exit status.
  int Finish(Result result) const;

private:
  struct Option {
    char shortName = 0;
    std::string longName;
    std::string negatedName; // Toggle: "no-" + longName
    std::string valueName;   // empty for flags
    std::string help;
    std::string defaultText;
    std::function<void()> onSet;
    std::function<void()> onNegated;
    ValueHandler onValue;
    std::string section; // non-empty: a heading, not an option
  };

  const Option* FindLong(const std::string& name, bool& negated) const;
  const Option* FindShort(char name) const;
  bool Apply(const Option& option, const std::string& shownName, const std::string& value);
  std::string LeftColumn(const Option& option) const;

  std::string program_;
  std::string usage_;
  std::string summary_;
  std::string notes_;
  std::vector<std::pair<int, std::string>> statuses_;
  std::vector<Option> options_;
  std::vector<std::string> operands_;
  std::string error_;
  Verbosity verbosity_ = Verbosity::Normal;
};

// The project's version ("1.0.0"), the one the library's header carries.
const char* ProjectVersion();

} // namespace cli
