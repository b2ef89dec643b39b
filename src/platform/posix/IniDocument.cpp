#include "platform/posix/IniDocument.h"

#include <algorithm>
#include <cctype>

namespace plat {
namespace {

std::string trim(std::string_view text) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isSpace(text[begin]))
    ++begin;
  while (end > begin && isSpace(text[end - 1]))
    --end;
  return std::string(text.substr(begin, end - begin));
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string unquote(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

} // namespace

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument document;
  std::string section;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    Line line;
    line.raw = std::string(text.substr(start, end - start));
    if (!line.raw.empty() && line.raw.back() == '\r') line.raw.pop_back();
    const std::string content = trim(line.raw);
    if (!content.empty() && content.front() == '[') {
      const auto close = content.find(']');
      section = trim(content.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      line.isHeader = true;
    } else if (!content.empty() && content.front() != ';') {
      const auto equals = content.find('=');
      if (equals != std::string::npos) {
        line.key = trim(content.substr(0, equals));
        line.value = unquote(trim(content.substr(equals + 1)));
      }
    }
    line.section = section;
    document.lines_.push_back(std::move(line));
    start = end + 1;
  }
  return document;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
  for (const auto& line : lines_) {
    if (!line.isHeader && !line.key.empty() && sameName(line.section, section) && sameName(line.key, key))
      return line.value;
  }
  return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  Line entry;
  entry.raw = std::string(key) + "=" + std::string(value);
  entry.section = std::string(section);
  entry.key = std::string(key);
  entry.value = std::string(value);

  std::optional<std::size_t> lastOfSection;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!sameName(lines_[i].section, section)) continue;
    if (!lines_[i].isHeader && sameName(lines_[i].key, key)) {
      lines_[i] = std::move(entry);
      return;
    }
    if (lines_[i].isHeader || !trim(lines_[i].raw).empty()) lastOfSection = i;
  }
  if (lastOfSection) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*lastOfSection + 1), std::move(entry));
    return;
  }
  Line header;
  header.raw = "[" + std::string(section) + "]";
  header.section = std::string(section);
  header.isHeader = true;
  lines_.push_back(std::move(header));
  lines_.push_back(std::move(entry));
}

std::string IniDocument::text() const {
  std::string out;
  for (const auto& line : lines_)
    out += line.raw + "\n";
  return out;
}

} // namespace plat
