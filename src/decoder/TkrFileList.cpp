#include "decoder/TkrFileList.h"

#include "decoder/TkwDecodeHandle.h"
#include "platform/UserInterface.h"
#include "support/Exceptions.h"
#include "support/RString.h"
#include "support/TkrListFile.h"

#include <cstdio>

namespace {

void showLineError(const char* format, std::int32_t line) {
  char text[RString::kCapacity];
  std::snprintf(text, sizeof text, format, static_cast<int>(line));
  plat::messageBox(text, TkrFileList::kErrorCaption);
}

// A decode handle on a .tkw file, or null when it is no sound (paths that do
// not fit a handle's path buffer cannot be opened). A file that is there but
// does not open now throws TKW_CannotOpen.
std::unique_ptr<TkwDecodeHandle> openTkw(const std::string& path, std::uint32_t flags) {
  if (path.size() >= RString::kCapacity) return nullptr;
  try {
    return TkwDecodeHandle::Open(path.c_str(), flags);
  } catch (const TKW_BadFormat&) {
    return nullptr;
  }
}

} // namespace

std::unique_ptr<TkrFileList> TkrFileList::Load(const char* path) {
  std::vector<TkrListEntry> entries;
  if (!TkrListFile::Load(path, entries)) throw TKR_NotFound();
  try {
    TkrListFile::Resolve(entries, TkrListFile::Directory(path));
  } catch (const PC_BadFormat& error) {
    showLineError("%d行目に不正な記述があります(ファイルが存在しません)\n処理を中断します。", error.line);
    return nullptr;
  }
  std::unique_ptr<TkrFileList> list(new TkrFileList());
  list->numbers_.reserve(entries.size());
  list->paths_.reserve(entries.size());
  for (const TkrListEntry& entry : entries) {
    if (!openTkw(entry.path, 0)) {
      showLineError("%d行目に記述されているファイルは、Tkwファイルではありません", entry.line);
      return nullptr;
    }
    list->numbers_.push_back(entry.number);
    list->paths_.push_back(entry.path);
  }
  return list;
}

std::unique_ptr<TkwDecodeHandle> TkrFileList::OpenSound(std::size_t index, std::uint32_t flags) const {
  try {
    return openTkw(paths_.at(index), flags);
  } catch (const TKW_CannotOpen&) {
    return nullptr;
  }
}
