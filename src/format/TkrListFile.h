// List files: one numbered .tkw file per line, read by the archive converter
// and by the library's sound index.
//
//   12 voice.tkw        number, one separator character, the file name
//   ; a comment         skipped, as are empty lines; both still count as lines
//
// The number is read like a standard string-to-long conversion (leading white
// space and a sign allowed); a line without one gives 0 and the name starts at
// its second character. Lines end in LF or CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TkrListEntry {
  std::uint32_t number = 0;
  std::int32_t line = 0;  // 1-based, counting every line of the file
  std::string name;       // as written
  std::string path;       // the file it names, once resolved
  bool malformed = false; // too long, holds a NUL byte, or a number out of range
};

class TkrListFile {
public:
  static constexpr std::size_t kMaxLineLength = 254; // without the line ending
  // An archive's count field is 16 bits. Entries past this many are not
  // kept: the first of them stays, marked malformed, so that its line is
  // named, and the rest are only counted.
  static constexpr std::size_t kMaxEntries = 65535;

  // The entries of a list text, in line order; `entryCount`, when given,
  // receives the number of entries the text holds (kept or not).
  static std::vector<TkrListEntry> Parse(std::string_view text, std::size_t* entryCount = nullptr);

  // Reads and parses a list file; false when it cannot be read. The file is
  // read block by block and each line is kept only up to its longest valid
  // length, so memory stays bounded whatever the file's size.
  static bool Load(const char* path, std::vector<TkrListEntry>& entries, std::size_t* entryCount = nullptr);

  // The folder names are resolved against: the list's own folder, or the
  // current directory for a list path without one.
  static std::string Directory(const char* listPath);

  // Finds each entry's file, in line order: the name as written when such a
  // file exists, else the name in `directory`. The first malformed line or
  // name found in neither place throws PC_BadFormat with its line.
  static void Resolve(std::vector<TkrListEntry>& entries, const std::string& directory);

  // True when a file (not a folder) of that name exists.
  static bool FileExists(const std::string& path);
};
