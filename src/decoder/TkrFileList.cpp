#include "decoder/TkrFileList.h"

#include "decoder/TkwDecodeHandle.h"
#include "format/TkrListFile.h"
#include "support/Exceptions.h"
#include "support/RString.h"

#include <cstdio>

namespace {

void tellLineError(const TkwMessageSink& sink, const char* format, std::int32_t line) {
  char text[RString::kCapacity];
  std::snprintf(text, sizeof text, format, static_cast<int>(line));
  if (sink) sink(text, TkrFileList::kErrorCaption);
}

// A decode handle on a .tkw file, or null when it is no sound (paths that do
// not fit a handle's path buffer cannot be opened). A file that is there but
// does not open now throws TKW_CannotOpen.
std::unique_ptr<TkwDecodeHandle> openTkw(const std::string& path, std::uint32_t flags, const TkwMessageSink& sink) {
  if (path.size() >= RString::kCapacity) return nullptr;
  try {
    return TkwDecodeHandle::Open(path.c_str(), flags, sink);
  } catch (const TKW_BadFormat&) {
    return nullptr;
  }
}

} // namespace

std::unique_ptr<TkrFileList> TkrFileList::Load(const char* path, const TkwMessageSink& sink) {
  std::vector<TkrListEntry> entries;
  if (!TkrListFile::Load(path, entries)) throw TKR_NotFound();
  try {
    TkrListFile::Resolve(entries, TkrListFile::Directory(path));
  } catch (const PC_BadFormat& error) {
    tellLineError(sink, "%d行目に不正な記述があります(ファイルが存在しません)\n処理を中断します。", error.line);
    return nullptr;
  }
  std::unique_ptr<TkrFileList> list(new TkrFileList());
  list->numbers_.reserve(entries.size());
  list->paths_.reserve(entries.size());
  for (const TkrListEntry& entry : entries) {
    if (!openTkw(entry.path, 0, sink)) {
      tellLineError(sink, "%d行目に記述されているファイルは、Tkwファイルではありません", entry.line);
      return nullptr;
    }
    list->numbers_.push_back(entry.number);
    list->paths_.push_back(entry.path);
  }
  return list;
}

std::unique_ptr<TkwDecodeHandle> TkrFileList::OpenSound(std::size_t index, std::uint32_t flags,
                                                        const TkwMessageSink& sink) const {
  try {
    return openTkw(paths_.at(index), flags, sink);
  } catch (const TKW_CannotOpen&) {
    return nullptr;
  }
}
