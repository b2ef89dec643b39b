// Any bytes as a list file beside real sounds: the parser keeps its line
// rules, the library loads the list with one of its statuses, and every
// number a list registers opens and decodes in both modes alike.
#include "FuzzDecode.h"
#include "FuzzFiles.h"
#include "format/TkrListFile.h"
#include "platform/UserInterface.h"
#include "tkwDec32.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr int kMaxSounds = 4;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Check;
  static const bool ready = [] {
    plat::setMessageBoxHook([](const char*, const char*, unsigned) { return 1; });
    fuzz::InstallSounds();
    return true;
  }();
  (void)ready;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::int32_t previous = 0;
  std::size_t count = 0;
  const auto entries = TkrListFile::Parse(text, &count);
  Check(entries.size() <= TkrListFile::kMaxEntries + 1 && count >= entries.size());
  for (const TkrListEntry& entry : entries) {
    Check(entry.line > previous);
    previous = entry.line;
    Check(entry.name.size() < TkrListFile::kMaxLineLength);
    Check(entry.malformed || entry.name.find('\0') == std::string::npos);
  }

  // The list lies beside the sounds, so the names of the seeds resolve.
  const std::string list = fuzz::WriteFile("list.txt", text);
  TkrDecodeHandle* index = nullptr;
  Check(tkrDecodeOpenNaked(&index) == TKW_OK);
  TkrSoundSetId id = nullptr;
  const std::int32_t status = tkrDecodeAddList(index, list.c_str(), &id);
  Check(status == TKW_OK); // a first list overlaps nothing
  if (id != nullptr) {
    TkrIndexEnumerator* enumerator = nullptr;
    Check(tkrDecodeFindIndex(index, &enumerator) == TKW_OK);
    std::uint32_t number = 0;
    for (int sounds = 0; sounds < kMaxSounds && tkrDecodeGetIndex(index, enumerator, &number) == TKW_OK; ++sounds) {
      std::int32_t exists = 0;
      Check(tkrDecodeIsTkwExist(index, number, &exists) == TKW_OK && exists == 1);
      TkwDecodeHandle* sector = nullptr;
      TkwDecodeHandle* stream = nullptr;
      Check(tkrDecodeTkwOpen(index, &sector, number, 0) == TKW_OK && sector != nullptr);
      Check(tkrDecodeTkwOpen(index, &stream, number, TKW_OPEN_STREAM) == TKW_OK && stream != nullptr);
      fuzz::CompareModes(sector, stream, false, number, 10000);
      tkwDecodeClose(sector);
      tkwDecodeClose(stream);
    }
    Check(tkrDecodeFindClose(index, enumerator) == TKW_OK);
    Check(tkrDecodeRemoveTkr(index, id) == TKW_OK);
  }
  Check(tkrDecodeClose(index) == TKW_OK);
  return 0;
}
