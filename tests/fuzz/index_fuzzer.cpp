// A whole sound index from one input: archives added with the input's
// password (or a wrong one), lists, single files and removals, then every
// number opened and read in both modes, with sector jumps and looping. Each
// export answers only with its own statuses, and every number the index
// lists opens and decodes alike in both modes.
#include "FuzzDecode.h"
#include "FuzzFiles.h"
#include "FuzzSections.h"
#include "format/TkrHeader.h"
#include "platform/UserInterface.h"
#include "support/ByteOrder.h"
#include "tkwDec32.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using fuzz::Check;

constexpr std::size_t kMaxSections = 8;
constexpr std::size_t kMaxNumbers = 6;

enum Kind : std::uint8_t { kArchive = 0, kList = 1, kSingle = 2, kRemove = 3 };
constexpr std::uint8_t kRightPassword = 4; // archive: the check word matches the password
constexpr std::uint8_t kOpenAlone = 8;     // archive: also opened as an index of its own

bool OneOf(std::int32_t status, std::initializer_list<std::int32_t> allowed) {
  return std::find(allowed.begin(), allowed.end(), status) != allowed.end();
}

class IndexRun {
public:
  explicit IndexRun(const fuzz::SectionedInput& input) : input_(input) { Check(tkrDecodeOpenNaked(&index_) == TKW_OK); }
  ~IndexRun() {
    Check(tkrDecodeClose(index_) == TKW_OK);
    for (const std::string& name : written_)
      fuzz::RemoveFile(name);
  }

  void Apply(std::size_t i, const fuzz::Section& section) {
    const std::string name = "f" + std::to_string(i) + (section.kind % 4 == kList ? ".txt" : ".tkw");
    std::vector<std::uint8_t> body = section.body;
    switch (section.kind % 4) {
    case kArchive: AddArchive(Write(name, body, section.kind), section.kind); break;
    case kList: AddList(Write(name, body, section.kind)); break;
    case kSingle: AddSingle(Write(name, body, section.kind), section.number); break;
    default: Remove(section); break;
    }
  }

  void ReadEveryNumber() {
    std::vector<std::uint32_t> numbers = singles_;
    TkrIndexEnumerator* enumerator = nullptr;
    Check(tkrDecodeFindIndex(index_, &enumerator) == TKW_OK);
    std::uint32_t number = 0;
    while (numbers.size() < 2 * kMaxNumbers && tkrDecodeGetIndex(index_, enumerator, &number) == TKW_OK)
      numbers.push_back(number);
    Check(tkrDecodeFindClose(index_, enumerator) == TKW_OK);
    numbers.resize(std::min(numbers.size(), kMaxNumbers));
    for (std::uint32_t n : numbers)
      Read(n);
  }

private:
  std::string Write(const std::string& name, std::vector<std::uint8_t>& body, std::uint8_t kind) {
    if (kind % 4 == kArchive && body.size() >= 16) {
      const std::uint32_t length = LoadLe32(&body[4]);
      const std::string password = kind & kRightPassword ? input_.password : input_.password + "?";
      StoreLe32(&body[8], TkrHeader::CheckWord(length, password));
    }
    written_.push_back(name);
    return fuzz::WriteFile(name, body.data(), body.size());
  }

  void AddArchive(const std::string& path, std::uint8_t kind) {
    const char* password = input_.password.c_str();
    if (kind & kOpenAlone) {
      TkrDecodeHandle* alone = nullptr;
      TkrSoundSetId id = nullptr;
      const std::int32_t status = tkrDecodeOpenPass(&alone, path.c_str(), password, &id);
      Check(OneOf(status, {TKW_OK, TKW_ERR_BAD_FORMAT, TKR_ERR_BAD_PASSWORD}));
      Check((status == TKW_OK) == (alone != nullptr && id != nullptr));
      if (alone) Check(tkrDecodeClose(alone) == TKW_OK);
    }
    TkrSoundSetId id = nullptr;
    const std::int32_t status = tkrDecodeAddTkrPass(index_, path.c_str(), password, &id);
    Check(OneOf(status, {TKW_OK, TKW_ERR_BAD_FORMAT, TKR_ERR_OVERLAP, TKR_ERR_BAD_PASSWORD}));
    Check((status == TKW_OK) == (id != nullptr));
    if (id) sets_.push_back(id);
  }

  void AddList(const std::string& path) {
    TkrSoundSetId id = nullptr;
    const std::int32_t status = tkrDecodeAddList(index_, path.c_str(), &id);
    Check(OneOf(status, {TKW_OK, TKR_ERR_OVERLAP}));
    if (id) sets_.push_back(id);
  }

  void AddSingle(const std::string& path, std::uint32_t number) {
    const std::int32_t status = tkrDecodeAddTkw(index_, path.c_str(), number);
    Check(OneOf(status, {TKW_OK, TKW_ERR_BAD_FORMAT}));
    if (status == TKW_OK && std::find(singles_.begin(), singles_.end(), number) == singles_.end())
      singles_.push_back(number);
  }

  void Remove(const fuzz::Section& section) {
    if (section.kind & kRightPassword) {
      const auto found = std::find(singles_.begin(), singles_.end(), section.number);
      Check(tkrDecodeRemoveTkw(index_, section.number) == (found != singles_.end() ? TKW_OK : TKW_ERR_BAD_FORMAT));
      if (found != singles_.end()) singles_.erase(found);
      return;
    }
    if (sets_.empty()) return;
    const std::size_t which = section.number % sets_.size();
    Check(tkrDecodeRemoveTkr(index_, sets_[which]) == TKW_OK);
    Check(tkrDecodeRemoveTkr(index_, sets_[which]) == TKR_ERR_NOT_IN_INDEX);
    sets_.erase(sets_.begin() + static_cast<std::ptrdiff_t>(which));
  }

  void Read(std::uint32_t number) {
    std::int32_t exists = 0;
    Check(tkrDecodeIsTkwExist(index_, number, &exists) == TKW_OK && exists == 1);
    const bool loops = number % 4 == 1;
    const std::uint32_t loop = loops ? TKW_OPEN_LOOP : 0u;
    TkwDecodeHandle* sector = nullptr;
    TkwDecodeHandle* stream = nullptr;
    Check(tkrDecodeTkwOpen(index_, &sector, number, loop) == TKW_OK);
    Check(tkrDecodeTkwOpen(index_, &stream, number, loop | TKW_OPEN_STREAM) == TKW_OK);
    // Null only when the number's file no longer opens, and then for both.
    Check((sector == nullptr) == (stream == nullptr));
    if (sector) fuzz::CompareModes(sector, stream, loops, number, 10000);
    if (sector) Check(tkwDecodeClose(sector) == TKW_OK);
    if (stream) Check(tkwDecodeClose(stream) == TKW_OK);
  }

  const fuzz::SectionedInput& input_;
  TkrDecodeHandle* index_ = nullptr;
  std::vector<TkrSoundSetId> sets_;
  std::vector<std::uint32_t> singles_;
  std::vector<std::string> written_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    plat::setMessageBoxHook([](const char*, const char*, unsigned) { return 1; });
    fuzz::InstallSounds();
    return true;
  }();
  (void)ready;
  const fuzz::SectionedInput input = fuzz::SplitSections(data, size, kMaxSections);
  IndexRun run(input);
  for (std::size_t i = 0; i < input.sections.size(); ++i)
    run.Apply(i, input.sections[i]);
  run.ReadEveryNumber();
  return 0;
}
