#include "converter/TkrConverterSettings.h"

#include "platform/Files.h"
#include "platform/Profile.h"
#include "support/RString.h"

#include <fstream>

namespace {

constexpr const char* kPasswordSection = "Password";
constexpr const char* kListSection = "TkrList";

std::string inCurrentDirectory(const char* name) { return plat::currentDirectory() + plat::kPathSeparator + name; }

} // namespace

std::string TkrConverterSettings::IniPath() { return inCurrentDirectory("TkrConverter.ini"); }

std::string TkrConverterSettings::QueueFilePath() { return inCurrentDirectory("TkrList.txt"); }

void TkrConverterSettings::Load(const std::string& iniPath) {
  const char* file = iniPath.c_str();
  setPassword = plat::profileInt(kPasswordSection, "bSetPass", 1, file) != 0;
  hidePassword = plat::profileInt(kPasswordSection, "bHidePass", 0, file) != 0;
  password = DecodeLetters(plat::profileString(kPasswordSection, "strPass", "", file));
  // The password buffer holds 499 bytes and its terminator.
  if (password.size() >= RString::kCapacity) password.resize(RString::kCapacity - 1);
  listDirectory = plat::profileString(kListSection, "ListDirectory", "", file);
  if (listDirectory.size() >= RString::kCapacity) listDirectory.resize(RString::kCapacity - 1);
}

bool TkrConverterSettings::Save(const std::string& iniPath) const {
  const char* file = iniPath.c_str();
  bool ok = plat::writeProfileString(kPasswordSection, "bSetPass", setPassword ? "1" : "0", file);
  ok = plat::writeProfileString(kPasswordSection, "bHidePass", hidePassword ? "1" : "0", file) && ok;
  ok = plat::writeProfileString(kPasswordSection, "strPass", EncodeLetters(password).c_str(), file) && ok;
  ok = plat::writeProfileString(kListSection, "ListDirectory", listDirectory.c_str(), file) && ok;
  return ok;
}

std::string TkrConverterSettings::EncodeLetters(std::string_view password) {
  std::string letters;
  letters.reserve(password.size() * 2);
  for (const char c : password) {
    const auto byte = static_cast<unsigned char>(c);
    letters += static_cast<char>('A' + (byte >> 4));
    letters += static_cast<char>('A' + (byte & 0x0F));
  }
  return letters;
}

std::string TkrConverterSettings::DecodeLetters(std::string_view letters) {
  std::string password;
  for (std::size_t i = 0; i + 1 < letters.size(); i += 2) {
    const int high = static_cast<unsigned char>(letters[i]) - 'A';
    const int low = static_cast<unsigned char>(letters[i + 1]) - 'A';
    password += static_cast<char>(static_cast<unsigned char>(16 * high + low));
  }
  return password;
}

std::vector<std::string> TkrConverterSettings::LoadQueue(const std::string& path) {
  std::vector<std::string> lists;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lists.push_back(line);
  }
  return lists;
}

bool TkrConverterSettings::SaveQueue(const std::string& path, const std::vector<std::string>& lists) {
  std::ofstream out(path, std::ios::trunc); // text mode, as the list box was saved
  for (const std::string& list : lists)
    out << list << '\n';
  return static_cast<bool>(out.flush());
}
