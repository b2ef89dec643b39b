// Writes a .tkr archive in one pass: the data of every sound after room for
// the index, then the header and the index at the front. The archive is built
// under a temporary name in the target's folder and renamed over the target
// only when complete, so a stopped or failed write never leaves half an
// archive behind, nor harms an earlier one.
#pragma once

#include "converter/TkwSoundFile.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TkrPackItem {
  std::uint32_t number = 0;
  TkwSoundFile sound;
};

class TkrArchiveWriter {
public:
  enum class Outcome { Written, Failed, Stopped };
  enum class Failure { None, CannotCreate, WriteFailed, TooLarge };

  // The codec version written when there are no sounds to take it from.
  static constexpr std::uint32_t kDefaultCodecVersion = 2;

  // `stop`, when given, is looked at between sounds.
  Outcome Write(const std::string& archivePath, const std::vector<TkrPackItem>& items, std::uint32_t codecVersion,
                std::string_view password, const std::atomic<bool>* stop = nullptr);

  // Why the last write failed.
  Failure LastFailure() const { return failure_; }

  static std::uint64_t IndexSize(const std::vector<TkrPackItem>& items);

private:
  Outcome Fail(Failure failure);

  Failure failure_ = Failure::None;
};
