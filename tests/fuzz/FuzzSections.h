// Splits a fuzz input into a password and typed sections, so that one input
// can describe several files and what to do with them:
//
//   password length (1 byte), password
//   then per section: kind (1 byte), body size (uint16), number (uint32), body
//
// A section cut short by the end of the input gets what is left.
#pragma once

#include "support/ByteOrder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

struct Section {
  std::uint8_t kind = 0;
  std::uint32_t number = 0;
  std::vector<std::uint8_t> body;
};

struct SectionedInput {
  std::string password;
  std::vector<Section> sections;
};

inline SectionedInput SplitSections(const std::uint8_t* data, std::size_t size, std::size_t maxSections) {
  SectionedInput input;
  if (size == 0) return input;
  std::size_t at = 1;
  const std::size_t length = std::min<std::size_t>(data[0], size - at);
  // A password is a C string: it ends at its first NUL byte.
  input.password.assign(reinterpret_cast<const char*>(data + at), length);
  input.password.resize(input.password.find('\0') == std::string::npos ? length : input.password.find('\0'));
  at += length;
  while (at + 7 <= size && input.sections.size() < maxSections) {
    Section section;
    section.kind = data[at];
    const std::size_t bodySize = std::min<std::size_t>(LoadLe16(data + at + 1), size - at - 7);
    section.number = LoadLe32(data + at + 3);
    at += 7;
    section.body.assign(data + at, data + at + bodySize);
    at += bodySize;
    input.sections.push_back(std::move(section));
  }
  return input;
}

} // namespace fuzz
