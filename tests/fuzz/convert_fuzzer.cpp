// A list and the .tkw files it names, through the converter and back through
// the library: every archive the converter writes opens with its password,
// and each of its sounds decodes exactly as the file it was packed from.
#include "FuzzDecode.h"
#include "FuzzFiles.h"
#include "FuzzSections.h"
#include "converter/TkrListConverter.h"
#include "format/TkrListFile.h"
#include "platform/Files.h"
#include "tkwDec32.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using fuzz::Check;

constexpr std::size_t kMaxSections = 6;
constexpr std::size_t kMaxSounds = 4;

} // namespace

// The first section is the list; the others are files "c1.tkw", "c2.tkw", ...
// beside it, as are the good sounds the list may name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    fuzz::InstallSounds();
    return true;
  }();
  (void)ready;
  const fuzz::SectionedInput input = fuzz::SplitSections(data, size, kMaxSections);
  if (input.sections.empty()) return 0;
  std::vector<std::string> written;
  for (std::size_t i = 1; i < input.sections.size(); ++i) {
    written.push_back("c" + std::to_string(i) + ".tkw");
    fuzz::WriteFile(written.back(), input.sections[i].body.data(), input.sections[i].body.size());
  }
  const auto& listBytes = input.sections[0].body;
  const std::string list = fuzz::WriteFile("convert.txt", listBytes.data(), listBytes.size());
  const std::string archive = fuzz::PathOf("convert.tkr");
  fuzz::RemoveFile("convert.tkr");

  const auto result = TkrListConverter(input.password).Convert(list.c_str());
  Check(result != TkrListConverter::Result::Stopped);
  Check(!plat::isDirectory(fuzz::PathOf("convert.tkr.tmp").c_str()) &&
        plat::findFile(fuzz::PathOf("convert.tkr.tmp").c_str()) != plat::FindResult::Found);
  if (result == TkrListConverter::Result::Written) {
    TkrDecodeHandle* index = nullptr;
    Check(tkrDecodeOpenPass(&index, archive.c_str(), input.password.c_str(), nullptr) == TKW_OK);
    // The entries in list order, resolved as the converter resolved them.
    std::vector<TkrListEntry> entries =
        TkrListFile::Parse(std::string_view(reinterpret_cast<const char*>(listBytes.data()), listBytes.size()));
    TkrListFile::Resolve(entries, TkrListFile::Directory(list.c_str()));
    for (std::size_t i = 0; i < entries.size() && i < kMaxSounds; ++i) {
      TkwDecodeHandle* packed = nullptr;
      TkwDecodeHandle* single = nullptr;
      Check(tkrDecodeTkwOpen(index, &packed, entries[i].number, 0) == TKW_OK && packed != nullptr);
      Check(tkwDecodeOpen(&single, entries[i].path.c_str(), TKW_OPEN_STREAM) == TKW_OK);
      fuzz::CompareModes(packed, single, false, entries[i].number, 10000);
      tkwDecodeClose(packed);
      tkwDecodeClose(single);
    }
    Check(tkrDecodeClose(index) == TKW_OK);
  }
  fuzz::RemoveFile("convert.tkr");
  for (const std::string& name : written)
    fuzz::RemoveFile(name);
  return 0;
}
