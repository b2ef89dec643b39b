// Any bytes as a settings file: parsing, lookups and a rewrite never fail.
#include "platform/posix/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  plat::IniDocument document = plat::IniDocument::parse(text);
  (void)document.get("EncodeParam", "MaxError2");
  document.set("Password", "strPass", "ABCD");
  const auto reparsed = plat::IniDocument::parse(document.text());
  if (reparsed.get("Password", "strPass") != "ABCD") __builtin_trap();
  return 0;
}
