// Any bytes as a list file: the parser keeps its line rules, and the library
// loads the list with one of its statuses, never touching memory outside its
// buffers.
#include "platform/UserInterface.h"
#include "support/TkrListFile.h"
#include "tkwDec32.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace {

const std::filesystem::path& TempFolder() {
  static const std::filesystem::path folder = [] {
    std::random_device random;
    auto path = std::filesystem::temp_directory_path() / ("tkr_list_fuzz_" + std::to_string(random()));
    std::filesystem::create_directories(path);
    // One real file so that some names resolve.
    std::ofstream(path / "a.tkw") << "not a sound";
    return path;
  }();
  return folder;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    plat::setMessageBoxHook([](const char*, const char*, unsigned) { return 1; });
    return true;
  }();
  (void)quiet;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::int32_t previous = 0;
  for (const TkrListEntry& entry : TkrListFile::Parse(text)) {
    Check(entry.line > previous);
    previous = entry.line;
    Check(entry.name.size() < TkrListFile::kMaxLineLength);
    Check(entry.malformed || entry.name.find('\0') == std::string::npos);
  }

  const std::string list = (TempFolder() / "list.txt").string();
  {
    std::ofstream out(list, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(size));
  }
  TkrDecodeHandle* index = nullptr;
  Check(tkrDecodeOpenNaked(&index) == TKW_OK);
  TkrSoundSetId id = nullptr;
  Check(tkrDecodeAddList(index, list.c_str(), &id) == TKW_OK);
  if (id != nullptr) Check(tkrDecodeRemoveTkr(index, id) == TKW_OK);
  Check(tkrDecodeClose(index) == TKW_OK);
  return 0;
}
