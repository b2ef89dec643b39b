#include "support/RString.h"

#include "platform/Files.h"
#include "support/Exceptions.h"

#include <cstring>
#include <string>

namespace {

const char* orEmpty(const char* text) { return text ? text : ""; }

} // namespace

const char* NextChar(const char* text) {
  if (*text == '\0') return text;
  if (plat::isLeadByte(static_cast<unsigned char>(*text)) && text[1] != '\0') return text + 2;
  return text + 1;
}

namespace {

// Bytes of the character that starts with `lead`.
std::size_t CharacterSize(unsigned char lead) {
#ifdef _WIN32
  // CP932: 0x81-0x9F and 0xE0-0xFC lead a double-byte character.
  return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
#else
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1; // ASCII, and a stray continuation byte counts as a character of its own
#endif
}

} // namespace

std::size_t CharacterBoundary(const char* text, std::size_t limit) {
  std::size_t at = 0;
  while (at < limit && text[at] != '\0') {
    const std::size_t size = CharacterSize(static_cast<unsigned char>(text[at]));
    if (at + size > limit) break;
    std::size_t step = 1;
    while (step < size && text[at + step] != '\0')
      ++step;
    at += step;
  }
  return at;
}

const char* FindLastSeparator(const char* text) {
  const char* last = nullptr;
  for (const char* p = text; *p; p = NextChar(p))
    if (*p == plat::kPathSeparator) last = p;
  return last;
}

RString::RString() : buffer_(std::make_unique<char[]>(kCapacity)) {}

RString::RString(const char* text) : RString() { Assign(text); }

RString::RString(const RString& other)
    : buffer_(std::make_unique<char[]>(other.capacity_)), capacity_(other.capacity_) {
  std::memcpy(buffer_.get(), other.buffer_.get(), capacity_);
}

RString::RString(RString&& other) noexcept : RString() {
  buffer_.swap(other.buffer_);
  std::swap(capacity_, other.capacity_);
}

RString& RString::operator=(const RString& other) {
  if (this != &other) Assign(other.c_str());
  return *this;
}

RString& RString::operator=(RString&& other) noexcept {
  buffer_.swap(other.buffer_);
  std::swap(capacity_, other.capacity_);
  return *this;
}

RString& RString::operator=(const char* text) {
  Assign(text);
  return *this;
}

RString::~RString() = default;

std::size_t RString::length() const { return std::strlen(buffer_.get()); }

void RString::Assign(const char* text) {
  text = orEmpty(text);
  const std::size_t size = std::strlen(text);
  if (size >= capacity_) throw CopyStringError();
  std::memmove(buffer_.get(), text, size + 1);
}

void RString::Append(const char* text) {
  text = orEmpty(text);
  const std::size_t current = length();
  const std::size_t size = std::strlen(text);
  if (current + size >= capacity_) throw CopyStringError();
  std::memmove(buffer_.get() + current, text, size + 1);
}

void RString::SetDirectory(const char* path) {
  const std::string copy = orEmpty(path);
  const char* cut = FindLastSeparator(copy.c_str());
  Assign(cut ? copy.substr(0, static_cast<std::size_t>(cut - copy.c_str())).c_str() : "");
}

void RString::AppendComponent(const char* component) {
  const std::string joined = std::string(1, plat::kPathSeparator) + orEmpty(component);
  Append(joined.c_str());
}

void RString::StripNewline() {
  const std::size_t size = length();
  if (size > 0 && buffer_[size - 1] == '\n') buffer_[size - 1] = '\0';
}

void RString::Reallocate(std::size_t size) {
  buffer_ = std::make_unique<char[]>(size > 0 ? size : 1);
  capacity_ = size > 0 ? size : 1;
}

RString RString::Join(const char* directory, const char* name) {
  RString joined(directory);
  joined.AppendComponent(name);
  return joined;
}

namespace {

// Builds the long form into a buffer of the object's capacity; every copy that
// would reach its end throws CopyStringError.
class LongPathBuilder {
public:
  explicit LongPathBuilder(std::size_t capacity) : capacity_(capacity) {}

  void append(const std::string& text) {
    if (result_.size() + text.size() >= capacity_) throw CopyStringError();
    result_ += text;
  }
  void replaceTail(std::size_t from, const std::string& text) {
    if (from + text.size() >= capacity_) throw CopyStringError();
    result_.resize(from);
    result_ += text;
  }
  const std::string& result() const { return result_; }
  std::size_t size() const { return result_.size(); }

private:
  std::size_t capacity_;
  std::string result_;
};

// Length of the root: a drive ("C:"), a network share ("\\server\share") or,
// where paths start at "/", nothing.
std::size_t rootLength(const std::string& full) {
  const char separator = plat::kPathSeparator;
  if (separator == '/') return 0;
  if (full.size() >= 2 && full[0] == separator && full[1] == separator) {
    const char* p = full.c_str() + 2;
    int separatorsSeen = 0;
    while (*p) {
      if (*p == separator && ++separatorsSeen == 2) break;
      p = NextChar(p);
    }
    return static_cast<std::size_t>(p - full.c_str());
  }
  return full.size() < 2 ? full.size() : 2;
}

} // namespace

bool RString::ToLongPathName(LongNameRule rule) {
  std::string full;
  if (!plat::fullPathName(c_str(), full)) return false;

  LongPathBuilder builder(capacity_);
  bool success = false;
  try {
    const std::size_t root = rootLength(full);
    builder.append(full.substr(0, root));
    const char* p = full.c_str() + root;
    success = true;
    while (*p == plat::kPathSeparator) {
      const char* end = NextChar(p);
      while (*end && *end != plat::kPathSeparator)
        end = NextChar(end);
      const std::size_t componentStart = builder.size() + 1;
      builder.append(std::string(p, end));
      plat::FindEntry entry;
      const plat::FindResult found = plat::findFile(builder.result().c_str(), &entry);
      if (found == plat::FindResult::Found) {
        builder.replaceTail(componentStart, entry.name);
      } else if (found == plat::FindResult::FileNotFound || found == plat::FindResult::PathNotFound) {
        builder.append(std::string(end));
        success = rule == LongNameRule::MissingIsSuccess;
        break;
      } else {
        success = false;
        break;
      }
      p = end;
    }
    if (builder.size() == 0) builder.append(full); // the root alone, such as "/"
  } catch (const CopyStringError&) {
    success = false;
  }
  std::memcpy(buffer_.get(), builder.result().c_str(), builder.size() + 1);
  return success;
}
