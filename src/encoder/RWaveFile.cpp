#include "encoder/RWaveFile.h"

#include "platform/Files.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"

#include <cstring>

namespace {

bool HasId(const unsigned char* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

} // namespace

void RWaveFile::Open(const char* path, int openMode) {
  if (plat::findFile(path) != plat::FindResult::Found) throw RWF_FileNotExist{};
  mode = openMode;
  // A file that is there but cannot be read is no usable wave file.
  if (!RFile::Open(path, kRead)) throw RWF_NotWaveFormat{};
  try {
    Parse();
  } catch (...) {
    Close();
    throw;
  }
}

void RWaveFile::Parse() {
  // Sizes are compared in 64 bits so that a size field near 2^32 cannot wrap
  // a check into passing.
  const std::int64_t fileSize = Size();
  if (fileSize < 0) throw RWF_NotWaveFormat{};

  unsigned char head[20] = {};
  if (Read(head, sizeof head) != sizeof head) throw RWF_NotWaveFormat{};
  if (!HasId(head, "RIFF")) throw RWF_NotWaveFormat{};
  if (std::int64_t{LoadLe32(head + 4)} + 8 > fileSize) throw RWF_NotWaveFormat{};
  if (!HasId(head + 8, "WAVE")) throw RWF_NotWaveFormat{};
  if (!HasId(head + 12, "fmt ")) throw RWF_NotWaveFormat{};
  const std::uint32_t fmtSize = LoadLe32(head + 16);
  if (fmtSize < 16) throw RWF_NotWaveFormat{};

  unsigned char fmt[16] = {};
  if (Read(fmt, sizeof fmt) != sizeof fmt) throw RWF_NotWaveFormat{};
  formatTag = LoadLe16(fmt);
  channels = LoadLe16(fmt + 2);
  sampleRate = LoadLe32(fmt + 4);
  avgBytesPerSec = LoadLe32(fmt + 8);
  blockAlign = LoadLe16(fmt + 12);
  bitsPerSample = LoadLe16(fmt + 14);
  if (Seek(std::int64_t{fmtSize} - 16, plat::SeekOrigin::Current) < 0) throw RWF_NotWaveFormat{};

  if (formatTag != 1) throw RWF_NotPCMFile{};
  extraSize = 0;
  // The sample buffers hold two channels; a frame size that disagrees with
  // the channel count would split samples across channels.
  if (channels < 1 || channels > 2) throw RWF_NotWaveFormat{};
  if (blockAlign == 0) throw RWF_NotWaveFormat{};
  if (bitsPerSample == 16 && blockAlign != channels * 2) throw RWF_NotWaveFormat{};

  std::uint32_t dataSize = 0;
  for (;;) {
    unsigned char chunk[8] = {};
    if (Read(chunk, sizeof chunk) != sizeof chunk) throw RWF_NotWaveFormat{};
    const std::uint32_t size = LoadLe32(chunk + 4);
    if (HasId(chunk, "data")) {
      dataSize = size;
      break;
    }
    if (!HasId(chunk, "fact")) throw RWF_NotWaveFormat{};
    if (Seek(size, plat::SeekOrigin::Current) < 0) throw RWF_NotWaveFormat{};
  }

  const std::int64_t position = Position();
  if (position < 0 || position > fileSize || std::int64_t{dataSize} > fileSize - position) throw RWF_NotWaveFormat{};
  dataStart = static_cast<std::uint32_t>(position);
  frames = dataSize / blockAlign;
}
