// An ini file in memory, read and written the way the Windows profile calls
// treat it: case-insensitive sections and keys, the first match wins, values
// trimmed and stripped of one pair of surrounding quotes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class IniDocument {
public:
  static IniDocument parse(std::string_view text);

  std::optional<std::string> get(std::string_view section, std::string_view key) const;
  void set(std::string_view section, std::string_view key, std::string_view value);
  std::string text() const;

private:
  struct Line {
    std::string raw;
    std::string section; // the section this line belongs to (for a header: its own name)
    std::string key;     // empty when the line is no key=value line
    std::string value;
    bool isHeader = false;
  };
  std::vector<Line> lines_;
};

} // namespace plat
