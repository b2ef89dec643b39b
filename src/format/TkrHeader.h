// The 16-byte header of a .tkr archive and its password check word. Read by
// the library, written by the converter, rewritten by the password utility.
#pragma once

#include "support/ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

struct TkrHeader {
  static constexpr std::size_t kSize = 16;
  static constexpr char kMagic[4] = {'T', 'k', 'r', '.'};

  char magic[4] = {'T', 'k', 'r', '.'};
  std::uint32_t totalLength = 0; // the position just after the last data byte
  std::uint32_t checkWord = 0;
  std::uint16_t layout = 2;
  std::uint16_t count = 0;

  static TkrHeader Load(const unsigned char* bytes) {
    TkrHeader header;
    std::memcpy(header.magic, bytes, 4);
    header.totalLength = LoadLe32(bytes + 4);
    header.checkWord = LoadLe32(bytes + 8);
    header.layout = LoadLe16(bytes + 12);
    header.count = LoadLe16(bytes + 14);
    return header;
  }

  void Store(unsigned char* bytes) const {
    std::memcpy(bytes, magic, 4);
    StoreLe32(bytes + 4, totalLength);
    StoreLe32(bytes + 8, checkWord);
    StoreLe16(bytes + 12, layout);
    StoreLe16(bytes + 14, count);
  }

  bool HasMagic() const { return std::memcmp(magic, kMagic, 4) == 0; }

  // The odd bits of the length stay; each even bit is also set one place
  // higher (the top one falls out).
  static constexpr std::uint32_t Mix(std::uint32_t length) {
    return (length & 0xAAAAAAAAu) | ((length & 0xD5555555u) << 1);
  }

  // Byte k (unsigned) shifted left by k mod 25, summed modulo 2^32.
  static constexpr std::uint32_t PasswordSum(std::string_view password) {
    std::uint32_t sum = 0;
    for (std::size_t k = 0; k < password.size(); ++k)
      sum += static_cast<std::uint32_t>(static_cast<unsigned char>(password[k])) << (k % 25);
    return sum;
  }

  static constexpr std::uint32_t CheckWord(std::uint32_t totalLength, std::string_view password) {
    return Mix(totalLength) + PasswordSum(password);
  }

  bool HasPassword() const { return checkWord != Mix(totalLength); }
  bool Accepts(std::string_view password) const { return checkWord == CheckWord(totalLength, password); }
};
