// Converts one list file into the archive next to it. Every outcome is
// written to the log (WriteLog); nothing is thrown.
#pragma once

#include "format/TkrListFile.h"

#include <atomic>
#include <cstddef>
#include <string>

class TkrListConverter {
public:
  enum class Result { Written, Failed, Stopped };

  static constexpr std::size_t kMaxEntries = TkrListFile::kMaxEntries; // the archive's count field is 16 bits

  explicit TkrListConverter(std::string password = {}) : password_(std::move(password)) {}

  // Looked at between the sounds of an archive; a stop leaves no archive.
  void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

  Result Convert(const char* listPath) const;

  // The list's path with its extension replaced by ".tkr", or ".tkr"
  // appended when the file name has no extension.
  static std::string ArchivePathFor(const std::string& listPath);

private:
  Result ConvertLongPath(const std::string& listPath) const;
  bool Stopped() const { return stop_ && stop_->load(); }

  std::string password_;
  const std::atomic<bool>* stop_ = nullptr;
};
