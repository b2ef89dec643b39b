// The fixed-capacity text that holds every path, name and message: 499
// characters and the terminator, in the platform's code page.
#pragma once

#include <cstddef>
#include <memory>

enum class LongNameRule {
  MissingIsFailure, // the encoder and the archive builder
  MissingIsSuccess, // the password utility
};

class RString {
public:
  static constexpr std::size_t kCapacity = 500;

  RString();
  explicit RString(const char* text);
  RString(const RString& other);
  RString(RString&& other) noexcept;
  RString& operator=(const RString& other);
  RString& operator=(RString&& other) noexcept;
  RString& operator=(const char* text);
  ~RString();

  // A text that does not fit throws CopyStringError and leaves the object
  // unchanged: a cut path would name another file.
  void Assign(const char* text);
  void Append(const char* text);
  // The path up to its last separator (the separator removed); a path without
  // one gives the empty text.
  void SetDirectory(const char* path);
  // Appends one separator and the component, even after a trailing separator.
  void AppendComponent(const char* component);
  // Removes one trailing line feed.
  void StripNewline();
  // Frees the buffer and allocates one of `size` bytes holding the empty text.
  void Reallocate(std::size_t size);
  // Replaces the text by its full path with every component in its long form.
  bool ToLongPathName(LongNameRule rule = LongNameRule::MissingIsFailure);

  const char* c_str() const { return buffer_.get(); }
  char* data() { return buffer_.get(); }
  std::size_t capacity() const { return capacity_; }
  std::size_t length() const;
  bool empty() const { return buffer_[0] == '\0'; }

  // "dir" + separator + "name", the system's "%s\%s".
  static RString Join(const char* directory, const char* name);

private:
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = kCapacity;
};

// Steps over one character, two bytes for a double-byte character.
const char* NextChar(const char* text);
// The length of the longest start of the text that holds at most `limit`
// bytes and ends between two characters, so that a text cut to fit a buffer
// never ends in half a character. Characters are those of the build's text
// encoding: CP932 on Windows (the texts are compiled as CP932), UTF-8 elsewhere.
std::size_t CharacterBoundary(const char* text, std::size_t limit);
// The last separator of the text, or null; never a trail byte.
const char* FindLastSeparator(const char* text);
