#include "format/TkrListFile.h"

#include "platform/Files.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "support/RString.h"

#include <limits>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct ParsedNumber {
  std::int64_t value = 0;
  std::size_t end = 0; // index of the first character after the number, or 0 when there is none
  bool inRange = true;
};

// The standard string-to-long rules: white space, a sign, decimal digits; no
// digits means no number and the end stays at the start of the line.
ParsedNumber parseNumber(std::string_view line) {
  ParsedNumber result;
  std::size_t i = 0;
  while (i < line.size() && isSpace(line[i]))
    ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  if (i >= line.size() || !isDigit(line[i])) return result;
  constexpr std::int64_t kLimit = std::int64_t{1} << 33; // anything beyond 32 bits is out of range
  std::int64_t value = 0;
  for (; i < line.size() && isDigit(line[i]); ++i)
    if (value < kLimit) value = value * 10 + (line[i] - '0');
  result.value = negative ? -value : value;
  result.end = i;
  // Every 32-bit number is accepted, signed or unsigned (-1 and 4294967295 are
  // the same number); others are refused rather than silently clamped.
  result.inRange = result.value >= std::numeric_limits<std::int32_t>::min() &&
                   result.value <= std::numeric_limits<std::uint32_t>::max();
  return result;
}

TkrListEntry parseEntry(std::string_view line, std::int32_t lineNumber) {
  TkrListEntry entry;
  entry.line = lineNumber;
  if (line.size() > TkrListFile::kMaxLineLength || line.find('\0') != std::string_view::npos) {
    entry.malformed = true;
    return entry;
  }
  const ParsedNumber number = parseNumber(line);
  entry.malformed = !number.inRange;
  entry.number = static_cast<std::uint32_t>(number.value);
  // One separator character of any kind follows the number.
  if (number.end + 1 <= line.size()) entry.name = std::string(line.substr(number.end + 1));
  return entry;
}

// Collects the entries of a list, line by line. Lines come without their
// line feed; a line that was longer than kept arrives cut, one character
// past the longest valid line, and is then malformed.
class EntryCollector {
public:
  explicit EntryCollector(std::vector<TkrListEntry>& entries) : entries_(entries) {}

  // False once no later line can be numbered.
  bool Line(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (lineNumber_ == std::numeric_limits<std::int32_t>::max()) return false;
    ++lineNumber_;
    if (line.empty() || line.front() == ';') return true;
    ++count_;
    if (entries_.size() > TkrListFile::kMaxEntries) return true;
    entries_.push_back(parseEntry(line, lineNumber_));
    if (entries_.size() > TkrListFile::kMaxEntries) entries_.back().malformed = true;
    return true;
  }
  std::size_t Count() const { return count_; }

private:
  std::vector<TkrListEntry>& entries_;
  std::int32_t lineNumber_ = 0;
  std::size_t count_ = 0;
};

// The most of a line that is kept: the longest valid line, its CR, and one
// character more, which marks a longer line as too long.
constexpr std::size_t kKeptLineLength = TkrListFile::kMaxLineLength + 2;

} // namespace

std::vector<TkrListEntry> TkrListFile::Parse(std::string_view text, std::size_t* entryCount) {
  std::vector<TkrListEntry> entries;
  EntryCollector collector(entries);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = next;
    if (!collector.Line(line.substr(0, kKeptLineLength))) break;
  }
  if (entryCount) *entryCount = collector.Count();
  return entries;
}

bool TkrListFile::Load(const char* path, std::vector<TkrListEntry>& entries, std::size_t* entryCount) {
  RFile file;
  if (!file.Open(path, RFile::kRead)) return false;
  entries.clear();
  EntryCollector collector(entries);
  std::string line;
  bool numbering = true;
  std::vector<char> block(65536);
  for (std::uint32_t got; numbering && (got = file.Read(block.data(), static_cast<std::uint32_t>(block.size()))) > 0;) {
    for (std::uint32_t i = 0; i < got && numbering; ++i) {
      if (block[i] == '\n') {
        numbering = collector.Line(line);
        line.clear();
      } else if (line.size() < kKeptLineLength) {
        line.push_back(block[i]);
      }
    }
    if (got < block.size()) break;
  }
  if (numbering && !line.empty()) collector.Line(line);
  if (entryCount) *entryCount = collector.Count();
  return true;
}

std::string TkrListFile::Directory(const char* listPath) {
  const char* cut = FindLastSeparator(listPath);
  if (!cut) return plat::currentDirectory();
  if (cut == listPath) return std::string(1, plat::kPathSeparator); // a list in the root folder
  return std::string(listPath, static_cast<std::size_t>(cut - listPath));
}

bool TkrListFile::FileExists(const std::string& path) {
  plat::FindEntry found;
  return !path.empty() && plat::findFile(path.c_str(), &found) == plat::FindResult::Found && !found.isDirectory;
}

void TkrListFile::Resolve(std::vector<TkrListEntry>& entries, const std::string& directory) {
  std::string prefix = directory;
  if (prefix.empty() || prefix.back() != plat::kPathSeparator) prefix += plat::kPathSeparator;
  for (TkrListEntry& entry : entries) {
    PC_BadFormat missing;
    missing.line = entry.line;
    if (entry.malformed || entry.name.empty()) throw missing;
    if (FileExists(entry.name)) {
      entry.path = entry.name;
    } else if (FileExists(prefix + entry.name)) {
      entry.path = prefix + entry.name;
    } else {
      throw missing;
    }
  }
}
