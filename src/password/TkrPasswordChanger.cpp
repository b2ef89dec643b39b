#include "password/TkrPasswordChanger.h"

#include "format/TkrHeader.h"
#include "platform/Files.h"
#include "platform/UserInterface.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "support/RString.h"

namespace {

constexpr std::int64_t kMinimumArchiveSize = 64;

enum class Kind { Missing, Archive, Other };

// A device or pipe is there, but it is no archive (nor can it be rewritten).
Kind kindOf(const std::string& path) {
  plat::FindEntry entry;
  if (plat::findFile(path.c_str(), &entry) != plat::FindResult::Found || entry.isDirectory) return Kind::Missing;
  return entry.isSpecial ? Kind::Other : Kind::Archive;
}

} // namespace

TkrPasswordChanger::TkrPasswordChanger(std::string_view newPassword, OldPasswordPrompt prompt, LogLine log)
    : newPassword_(newPassword), prompt_(std::move(prompt)), log_(std::move(log)) {}

void TkrPasswordChanger::ShowWrongPassword() { plat::messageBox("パスワードが違います", kCaption); }

bool TkrPasswordChanger::ProcessAll(const std::vector<std::string>& paths) {
  // A password can be changed but never removed.
  if (newPassword_.empty()) {
    plat::messageBox("パスワードが設定されてないとまずいっしょ（笑）", kCaption);
    return false;
  }
  if (newPassword_.size() > kMaxPasswordLength) {
    plat::messageBox("パスワードが長すぎます（半角254文字まで）", kCaption);
    return false;
  }
  bool allChanged = true;
  for (const std::string& dropped : paths) {
    RString longPath;
    std::string path = dropped;
    try {
      longPath.Assign(dropped.c_str());
      longPath.ToLongPathName(LongNameRule::MissingIsSuccess);
      path = longPath.c_str();
    } catch (const CopyStringError&) {
    }
    const Result result = Process(path);
    if (result == Result::Cancelled) {
      log_("パスワードの変更を中断しました");
      return false;
    }
    allChanged = allChanged && result == Result::Changed;
  }
  return allChanged;
}

TkrPasswordChanger::Result TkrPasswordChanger::Process(const std::string& path) {
  log_((path + " を処理します").c_str());
  if (path.size() >= RString::kCapacity) {
    log_("そのファイルはパスが長すぎるため処理できません");
    return Result::PathTooLong;
  }
  const Kind kind = kindOf(path);
  if (kind == Kind::Missing) {
    log_("そのファイルは存在しません");
    return Result::NotFound;
  }
  if (kind == Kind::Other) {
    log_("そのファイルはTkrファイルではありません");
    return Result::NotTkrFile;
  }
  RFile file;
  if (!file.Open(path.c_str(), RFile::kReadWrite)) {
    log_("そのファイルに書き込めません");
    return Result::WriteFailed;
  }
  unsigned char bytes[TkrHeader::kSize] = {};
  const std::int64_t size = file.Size();
  const bool readHeader = size >= kMinimumArchiveSize && file.Read(bytes, sizeof bytes) == sizeof bytes;
  TkrHeader header = TkrHeader::Load(bytes);
  if (!readHeader || !header.HasMagic() || header.totalLength > size) {
    log_("そのファイルはTkrファイルではありません");
    return Result::NotTkrFile;
  }
  if (header.HasPassword()) {
    const auto isRight = [&header](std::string_view old) { return header.Accepts(old); };
    if (!prompt_ || !prompt_(path, isRight)) return Result::Cancelled;
  }
  header.checkWord = TkrHeader::CheckWord(header.totalLength, newPassword_);
  header.Store(bytes);
  if (file.Seek(0) != 0 || file.Write(bytes, sizeof bytes) != sizeof bytes) {
    log_("パスワードを書き込めませんでした");
    return Result::WriteFailed;
  }
  file.Close();
  log_("パスワードは正常にセットされました");
  return Result::Changed;
}
