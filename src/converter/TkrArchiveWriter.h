// Writes a .tkr archive in one pass: the data of every sound after room for
// the index, then the header and the index at the front. The archive is built
// under the temporary name "<target>.tmp" and renamed over the target only
// when complete, so a stopped or failed write never leaves half an archive
// behind, nor harms an earlier one. The temporary file is held exclusively
// while it is written: a run that finds it free takes over what a killed run
// left there, and one that finds it held fails instead of racing the other
// run. Leftovers of the numbered names of earlier versions
// ("<target>.<n>.tmp") that no process holds are removed.
#pragma once

#include "converter/TkwSoundFile.h"
#include "format/TkwFormatVersion.h"

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
  enum class Failure {
    None,
    CannotCreate,
    WriteFailed,
    TooLarge,
    PathTooLong, // the temporary name does not fit a 500-byte path
    InUse,       // another run is writing the same archive
  };

  // The codec version written when there are no sounds to take it from.
  static constexpr std::uint32_t kDefaultCodecVersion = TkwFormatVersion::kV2;

  // `stop`, when given, is looked at between sounds.
  Outcome Write(const std::string& archivePath, const std::vector<TkrPackItem>& items, std::uint32_t codecVersion,
                std::string_view password, const std::atomic<bool>* stop = nullptr);

  // Why the last write failed.
  Failure LastFailure() const { return failure_; }

private:
  Outcome Fail(Failure failure);

  Failure failure_ = Failure::None;
};
