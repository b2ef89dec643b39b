#include "converter/TkrListConverter.h"

#include "converter/TkrArchiveWriter.h"
#include "format/TkrListFile.h"
#include "support/Exceptions.h"
#include "support/LogWriter.h"
#include "support/RString.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <unordered_map>

namespace {

constexpr const char* kNoLongName =
    "%s をロングファイル名に変換できませんでした\n（ファイルが存在しない可能性があります）\n";
constexpr const char* kCannotRead = "%s を読み込めませんでした";
constexpr const char* kTooManyEntries = "リストの項目が65535を超えています(%d項目)\n処理を中断します。";
constexpr const char* kListIsArchive = "%s はTkrファイルの出力先と同じ名前なので、処理を中断します。";
constexpr const char* kWritten = "%s を作成しました";
constexpr const char* kStopped = "%s の作成を中止しました";
constexpr const char* kOutOfMemory = "%s を作成するためのメモリが足りません";

void logWriteFailure(TkrArchiveWriter::Failure failure, const std::string& archivePath) {
  switch (failure) {
  case TkrArchiveWriter::Failure::TooLarge: WriteLog("%s は4GBを超えるため作成できません", archivePath.c_str()); break;
  case TkrArchiveWriter::Failure::CannotCreate: WriteLog("%s を作成できませんでした", archivePath.c_str()); break;
  case TkrArchiveWriter::Failure::PathTooLong:
    // The reason first: a path this long fills the line.
    WriteLog("パスが長すぎるため、次のTkrファイルを作成できません : %s", archivePath.c_str());
    break;
  case TkrArchiveWriter::Failure::InUse:
    WriteLog("%s は、ほかの処理が作成中のため作成できません", archivePath.c_str());
    break;
  default: WriteLog("%s の書き込みに失敗しました", archivePath.c_str()); break;
  }
}

// A line that cannot be read is not a missing file.
void logBadLine(const std::vector<TkrListEntry>& entries, std::int32_t line) {
  for (const TkrListEntry& entry : entries) {
    if (entry.line != line || !entry.malformed) continue;
    if (!entry.name.empty())
      WriteLog("%d行目に不正な記述があります(番号が32ビットの範囲を超えています)\n処理を中断します。", line);
    else
      WriteLog("%d行目に不正な記述があります(行が長すぎるか、NUL文字を含んでいます)\n処理を中断します。", line);
    return;
  }
  WriteLog("%d行目に不正な記述があります(ファイルが存在しません)\n処理を中断します。", line);
}

void throwOverlaps(const std::vector<TkrListEntry>& entries) {
  std::unordered_map<std::uint32_t, std::int32_t> seen;
  seen.reserve(entries.size());
  for (const TkrListEntry& entry : entries) {
    if (!seen.emplace(entry.number, entry.line).second) {
      PC_OverlapNumber overlap;
      overlap.line = entry.line;
      throw overlap;
    }
  }
}

} // namespace

std::string TkrListConverter::ArchivePathFor(const std::string& listPath) {
  const char* separator = FindLastSeparator(listPath.c_str());
  const std::size_t nameStart = separator ? static_cast<std::size_t>(separator - listPath.c_str()) + 1 : 0;
  const std::size_t dot = listPath.rfind('.');
  // A dot in a folder name is not the file's extension.
  if (dot == std::string::npos || dot < nameStart) return listPath + ".tkr";
  return listPath.substr(0, dot) + ".tkr";
}

TkrListConverter::Result TkrListConverter::Convert(const char* listPath) const {
  RString longPath;
  bool converted = false;
  try {
    longPath.Assign(listPath);
    converted = longPath.ToLongPathName(LongNameRule::MissingIsFailure);
  } catch (const CopyStringError&) {
  }
  if (!converted) {
    WriteLog(kNoLongName, listPath ? listPath : "");
    return Result::Failed;
  }
  try {
    return ConvertLongPath(longPath.c_str());
  } catch (const std::bad_alloc&) {
    WriteLog(kOutOfMemory, ArchivePathFor(longPath.c_str()).c_str());
    return Result::Failed;
  }
}

TkrListConverter::Result TkrListConverter::ConvertLongPath(const std::string& listPath) const {
  const std::string archivePath = ArchivePathFor(listPath);
  if (archivePath == listPath) {
    WriteLog(kListIsArchive, listPath.c_str());
    return Result::Failed;
  }
  std::vector<TkrListEntry> entries;
  std::size_t entryCount = 0;
  if (!TkrListFile::Load(listPath.c_str(), entries, &entryCount)) {
    WriteLog(kCannotRead, listPath.c_str());
    return Result::Failed;
  }
  if (entryCount > kMaxEntries) {
    WriteLog(kTooManyEntries, static_cast<int>(std::min<std::size_t>(entryCount, INT32_MAX)));
    return Result::Failed;
  }
  try {
    TkrListFile::Resolve(entries, TkrListFile::Directory(listPath.c_str()));
    throwOverlaps(entries);
    std::vector<TkrPackItem> items;
    items.reserve(entries.size());
    for (const TkrListEntry& entry : entries) {
      if (Stopped()) break;
      TkrPackItem item{entry.number, TkwSoundFile::Inspect(entry.path, entry.line)};
      if (!items.empty() && item.sound.CodecVersion() != items.front().sound.CodecVersion()) {
        PC_NotSameVersion mismatch;
        mismatch.line = entry.line;
        throw mismatch;
      }
      items.push_back(std::move(item));
    }
    TkrArchiveWriter writer;
    const std::uint32_t codecVersion =
        items.empty() ? TkrArchiveWriter::kDefaultCodecVersion : items.front().sound.CodecVersion();
    switch (Stopped() ? TkrArchiveWriter::Outcome::Stopped
                      : writer.Write(archivePath, items, codecVersion, password_, stop_)) {
    case TkrArchiveWriter::Outcome::Written: WriteLog(kWritten, archivePath.c_str()); return Result::Written;
    case TkrArchiveWriter::Outcome::Stopped: WriteLog(kStopped, archivePath.c_str()); return Result::Stopped;
    case TkrArchiveWriter::Outcome::Failed: break;
    }
    logWriteFailure(writer.LastFailure(), archivePath);
  } catch (const PC_BadFormat& error) {
    logBadLine(entries, error.line);
  } catch (const PC_OverlapNumber& error) {
    WriteLog("%d行目に、重なった番号が割り振られています", error.line);
  } catch (const PC_NotTkwFile& error) {
    WriteLog("%d行目に記述されているファイルは、Tkwファイルではありません", error.line);
  } catch (const PC_OldTkwFile& error) {
    WriteLog("%d行目に記述されているファイルは、旧フォーマットのTkwファイルです", error.line);
  } catch (const PC_NotSameVersion& error) {
    WriteLog("%d行目に、それまでとことなったバージョンの\nファイルが記述されています", error.line);
  }
  return Result::Failed;
}
