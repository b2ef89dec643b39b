#include "cli/TextWidth.h"

#include <cstdint>
#include <vector>

namespace cli {

namespace {

struct Character {
  std::size_t start = 0;
  std::size_t length = 1;
  std::size_t width = 1;
};

#ifndef _WIN32
bool InRanges(std::uint32_t c, const std::uint32_t (*ranges)[2], std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (c >= ranges[i][0] && c <= ranges[i][1]) return true;
  return false;
}

std::size_t CodePointWidth(std::uint32_t c) {
  static const std::uint32_t kZero[][2] = {
      {0x0300, 0x036F}, {0x200B, 0x200F}, {0x20D0, 0x20FF}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
  };
  static const std::uint32_t kWide[][2] = {
      {0x1100, 0x115F}, {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
      {0xA000, 0xA4CF}, {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},
      {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
  };
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return 0;
  if (InRanges(c, kZero, std::size(kZero))) return 0;
  if (InRanges(c, kWide, std::size(kWide))) return 2;
  return 1;
}
#endif

std::vector<Character> Characters(std::string_view text) {
  std::vector<Character> characters;
  std::size_t i = 0;
  while (i < text.size()) {
    Character character;
    character.start = i;
#ifdef _WIN32
    // Code page 932: a double-byte character is two columns wide, a single
    // byte (also half-width katakana) one.
    const auto lead = static_cast<unsigned char>(text[i]);
    const bool doubleByte = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) && i + 1 < text.size();
    character.length = doubleByte ? 2 : 1;
    character.width = character.length;
#else
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    std::uint32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    // A stray byte stands for itself, one column.
    character.length = valid ? length : 1;
    character.width = valid ? CodePointWidth(c) : 1;
#endif
    characters.push_back(character);
    i += character.length;
  }
  return characters;
}

} // namespace

std::size_t DisplayWidth(std::string_view text) {
  std::size_t width = 0;
  for (const Character& character : Characters(text))
    width += character.width;
  return width;
}

std::string FitEnd(std::string_view text, std::size_t columns) {
  if (DisplayWidth(text) <= columns) return std::string(text);
  if (columns < 3) return std::string(columns, '.');
  const std::vector<Character> characters = Characters(text);
  std::size_t used = 3;
  std::size_t start = text.size();
  for (auto c = characters.rbegin(); c != characters.rend() && used + c->width <= columns; ++c) {
    used += c->width;
    start = c->start;
  }
  return "..." + std::string(text.substr(start));
}

std::string FitStart(std::string_view text, std::size_t columns) {
  std::size_t used = 0;
  std::size_t end = 0;
  for (const Character& character : Characters(text)) {
    if (used + character.width > columns) break;
    used += character.width;
    end = character.start + character.length;
  }
  return std::string(text.substr(0, end));
}

} // namespace cli
