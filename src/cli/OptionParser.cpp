#include "cli/OptionParser.h"

#include "cli/ExitStatus.h"
#include "cli/TextWidth.h"

#include "tkwDec32.h"

#include <charconv>
#include <cstdio>

namespace cli {

namespace {

constexpr std::size_t kHelpWidth = 79;
constexpr std::size_t kMaxLeftColumn = 30;

// Words of `text` in lines of at most `width` columns after `indent` spaces;
// the first line continues what is already written (`used` columns).
std::string Wrap(const std::string& text, std::size_t indent, std::size_t used, std::size_t width) {
  std::string out;
  std::size_t column = used;
  std::size_t start = 0;
  bool lineEmpty = true;
  while (start < text.size()) {
    if (text[start] == '\n') {
      out += '\n' + std::string(indent, ' ');
      column = indent;
      lineEmpty = true;
      ++start;
      continue;
    }
    std::size_t end = text.find_first_of(" \n", start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    const std::size_t wordWidth = DisplayWidth(word);
    if (!lineEmpty && column + 1 + wordWidth > width) {
      out += '\n' + std::string(indent, ' ');
      column = indent;
      lineEmpty = true;
    }
    if (!lineEmpty) {
      out += ' ';
      ++column;
    }
    out += word;
    column += wordWidth;
    lineEmpty = false;
    start = end < text.size() && text[end] == ' ' ? end + 1 : end;
  }
  return out;
}

const std::vector<std::pair<int, std::string>> kGenericStatuses = {
    {kExitSuccess, "every file was processed"},
    {kExitFileFailed, "some file failed (each is named on standard error)"},
    {kExitUsage, "the command line cannot be used"},
    {kExitStopped, "stopped by Ctrl-C"},
};

} // namespace

const char* ProjectVersion() { return TKW_VERSION; }

OptionParser::OptionParser(std::string program, std::string usage, std::string summary)
    : program_(std::move(program)), usage_(std::move(usage)), summary_(std::move(summary)),
      statuses_(kGenericStatuses) {}

OptionParser& OptionParser::Section(std::string title) {
  Option heading;
  heading.section = std::move(title);
  options_.push_back(std::move(heading));
  return *this;
}

OptionParser& OptionParser::Flag(char shortName, std::string longName, std::string help, std::function<void()> onSet) {
  Option option;
  option.shortName = shortName;
  option.longName = std::move(longName);
  option.help = std::move(help);
  option.onSet = std::move(onSet);
  options_.push_back(std::move(option));
  return *this;
}

OptionParser& OptionParser::Value(char shortName, std::string longName, std::string valueName, std::string help,
                                  ValueHandler onValue, std::string defaultText) {
  Option option;
  option.shortName = shortName;
  option.longName = std::move(longName);
  option.valueName = std::move(valueName);
  option.help = std::move(help);
  option.onValue = std::move(onValue);
  option.defaultText = std::move(defaultText);
  options_.push_back(std::move(option));
  return *this;
}

OptionParser& OptionParser::Switch(char shortName, std::string longName, std::string help, bool& target) {
  return Flag(shortName, std::move(longName), std::move(help), [&target] { target = true; });
}

OptionParser& OptionParser::Toggle(char shortName, std::string longName, std::string help, std::int32_t& target) {
  Option option;
  option.shortName = shortName;
  option.negatedName = "no-" + longName;
  option.longName = std::move(longName);
  option.help = std::move(help);
  option.defaultText = target ? "on" : "off";
  option.onSet = [&target] { target = 1; };
  option.onNegated = [&target] { target = 0; };
  options_.push_back(std::move(option));
  return *this;
}

OptionParser& OptionParser::Number(char shortName, std::string longName, std::string valueName, std::string help,
                                   std::int32_t& target, std::int64_t minimum, std::int64_t maximum) {
  const std::string range = std::to_string(minimum) + " to " + std::to_string(maximum);
  return Value(
      shortName, std::move(longName), std::move(valueName), std::move(help),
      [&target, minimum, maximum, range](const std::string& value) -> std::string {
        std::int64_t number = 0;
        const char* end = value.data() + value.size();
        // Decimal digits only: no sign, no spaces, nothing after the number.
        const bool digits = !value.empty() && value[0] >= '0' && value[0] <= '9';
        const auto parsed = std::from_chars(value.data(), end, number);
        if (!digits || parsed.ec != std::errc() || parsed.ptr != end) return "'" + value + "' is not a number";
        if (number < minimum || number > maximum) return "'" + value + "' is out of range (" + range + ")";
        target = static_cast<std::int32_t>(number);
        return {};
      },
      std::to_string(target));
}

OptionParser& OptionParser::Text(char shortName, std::string longName, std::string valueName, std::string help,
                                 std::string& target, std::string defaultText) {
  return Value(
      shortName, std::move(longName), std::move(valueName), std::move(help),
      [&target](const std::string& value) {
        target = value;
        return std::string();
      },
      std::move(defaultText));
}

const OptionParser::Option* OptionParser::FindLong(const std::string& name, bool& negated) const {
  for (const Option& option : options_) {
    if (!option.section.empty()) continue;
    if (option.longName == name) {
      negated = false;
      return &option;
    }
    if (!option.negatedName.empty() && option.negatedName == name) {
      negated = true;
      return &option;
    }
  }
  return nullptr;
}

const OptionParser::Option* OptionParser::FindShort(char name) const {
  for (const Option& option : options_)
    if (option.section.empty() && option.shortName == name) return &option;
  return nullptr;
}

bool OptionParser::Apply(const Option& option, const std::string& shownName, const std::string& value) {
  std::string problem = option.onValue(value);
  if (problem.empty()) return true;
  error_ = "option " + shownName + ": " + problem;
  return false;
}

OptionParser::Result OptionParser::Parse(int argc, char** argv) {
  return Parse(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0)));
}

OptionParser::Result OptionParser::Parse(const std::vector<std::string>& arguments) {
  operands_.clear();
  error_.clear();
  bool help = false;
  bool version = false;
  auto fail = [this](std::string message) {
    error_ = std::move(message);
    return Result::Error;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--") {
      operands_.insert(operands_.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
      break;
    }
    if (argument.size() < 2 || argument[0] != '-') {
      operands_.push_back(argument);
      continue;
    }
    if (argument[1] == '-') {
      const std::size_t equals = argument.find('=');
      const std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      const std::string shown = "--" + name;
      if (name == "help" || name == "version" || name == "quiet" || name == "verbose") {
        if (equals != std::string::npos) return fail("option " + shown + " takes no value");
        if (name == "help") help = true;
        if (name == "version") version = true;
        if (name == "quiet") verbosity_ = Verbosity::Quiet;
        if (name == "verbose") verbosity_ = Verbosity::Verbose;
        continue;
      }
      bool negated = false;
      const Option* option = FindLong(name, negated);
      if (!option) return fail("unknown option " + shown);
      if (option->valueName.empty()) {
        if (equals != std::string::npos) return fail("option " + shown + " takes no value");
        (negated ? option->onNegated : option->onSet)();
        continue;
      }
      std::string value;
      if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return fail("option " + shown + " needs a value (" + option->valueName + ")");
      }
      if (!Apply(*option, shown, value)) return Result::Error;
      continue;
    }
    // A cluster of short options; one that takes a value takes the rest of
    // the cluster or the next argument.
    for (std::size_t k = 1; k < argument.size(); ++k) {
      const char name = argument[k];
      const std::string shown = std::string("-") + name;
      if (name == 'h') {
        help = true;
        continue;
      }
      if (name == 'V') {
        version = true;
        continue;
      }
      if (name == 'q') {
        verbosity_ = Verbosity::Quiet;
        continue;
      }
      if (name == 'v') {
        verbosity_ = Verbosity::Verbose;
        continue;
      }
      const Option* option = FindShort(name);
      if (!option) return fail("unknown option " + shown);
      if (option->valueName.empty()) {
        option->onSet();
        continue;
      }
      std::string value;
      if (k + 1 < argument.size()) {
        value = argument.substr(k + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return fail("option " + shown + " needs a value (" + option->valueName + ")");
      }
      if (!Apply(*option, shown, value)) return Result::Error;
      break;
    }
  }
  if (help) return Result::Help;
  if (version) return Result::Version;
  return Result::Run;
}

std::string OptionParser::LeftColumn(const Option& option) const {
  std::string left = option.shortName ? std::string("  -") + option.shortName + ", " : std::string(6, ' ');
  left += "--" + option.longName;
  if (!option.negatedName.empty()) left += ", --" + option.negatedName;
  if (!option.valueName.empty()) left += "=" + option.valueName;
  return left;
}

std::string OptionParser::HelpText() const {
  std::vector<Option> all = options_;
  auto builtIn = [](char shortName, const char* longName, const char* help) {
    Option option;
    option.shortName = shortName;
    option.longName = longName;
    option.help = help;
    return option;
  };
  Option general;
  general.section = "General options:";
  all.push_back(general);
  all.push_back(builtIn('q', "quiet", "print nothing but errors"));
  all.push_back(builtIn('v', "verbose", "say more about each step"));
  all.push_back(builtIn('h', "help", "show this help and exit"));
  all.push_back(builtIn('V', "version", "show the version and exit"));

  std::size_t column = 0;
  for (const Option& option : all)
    if (option.section.empty() && DisplayWidth(LeftColumn(option)) <= kMaxLeftColumn)
      column = std::max(column, DisplayWidth(LeftColumn(option)));
  column += 2;

  std::string text = "Usage: " + program_ + " " + usage_ + "\n";
  if (!summary_.empty()) text += Wrap(summary_, 0, 0, kHelpWidth) + "\n";
  bool headed = false;
  for (const Option& option : all) {
    if (!option.section.empty()) {
      text += "\n" + option.section + "\n";
      headed = true;
      continue;
    }
    if (!headed) {
      text += "\nOptions:\n";
      headed = true;
    }
    const std::string left = LeftColumn(option);
    std::string help = option.help;
    if (!option.defaultText.empty()) help += " (default: " + option.defaultText + ")";
    text += left;
    std::size_t used = DisplayWidth(left);
    if (used + 2 > column) {
      text += "\n" + std::string(column, ' ');
    } else {
      text += std::string(column - used, ' ');
    }
    text += Wrap(help, column, column, kHelpWidth) + "\n";
  }
  if (!notes_.empty()) text += "\n" + notes_ + (notes_.back() == '\n' ? "" : "\n");
  text += "\nExit status:\n";
  for (const auto& [status, meaning] : statuses_) {
    const std::string left = "  " + std::to_string(status);
    text += left + std::string(7 - left.size(), ' ') + Wrap(meaning, 7, 7, kHelpWidth) + "\n";
  }
  return text;
}

std::string OptionParser::VersionText() const { return program_ + " (tkw) " + ProjectVersion() + "\n"; }

int OptionParser::UsageError(const std::string& message) const {
  std::fprintf(stderr, "%s: %s\nUsage: %s %s\nTry '%s --help' for more information.\n", program_.c_str(),
               message.c_str(), program_.c_str(), usage_.c_str(), program_.c_str());
  return kExitUsage;
}

int OptionParser::Finish(Result result) const {
  switch (result) {
  case Result::Help: std::fputs(HelpText().c_str(), stdout); return kExitSuccess;
  case Result::Version: std::fputs(VersionText().c_str(), stdout); return kExitSuccess;
  case Result::Error: return UsageError(error_);
  case Result::Run: break;
  }
  return kExitSuccess;
}

} // namespace cli
