// The converter's settings (TkrConverter.ini in the current directory) and its
// saved queue (TkrList.txt).
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TkrConverterSettings {
  bool setPassword = true;   // bSetPass
  bool hidePassword = false; // bHidePass
  std::string password;      // strPass, stored in the letter encoding
  std::string listDirectory; // ListDirectory

  static std::string IniPath();       // current directory + "TkrConverter.ini"
  static std::string QueueFilePath(); // current directory + "TkrList.txt"

  void Load(const std::string& iniPath);
  bool Save(const std::string& iniPath) const;

  // The password archives get: none when the password box is off, so that
  // turning it off is never overruled by text left in the field.
  std::string EffectivePassword() const { return setPassword ? password : std::string(); }

  // Each byte as two letters "A" + its high and its low four bits.
  static std::string EncodeLetters(std::string_view password);
  // Each whole pair of letters back to a byte; a single trailing letter is ignored.
  static std::string DecodeLetters(std::string_view letters);

  // One list-file path per line.
  static std::vector<std::string> LoadQueue(const std::string& path);
  static bool SaveQueue(const std::string& path, const std::vector<std::string>& lists);
};
