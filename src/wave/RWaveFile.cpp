#include "wave/RWaveFile.h"

#include "platform/Files.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/FileByteSource.h"

#include <algorithm>
#include <cstring>

namespace {

bool HasId(const unsigned char* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// A chunk id as text, unprintable bytes as \xNN.
std::string IdText(const unsigned char* p) {
  static const char* digits = "0123456789ABCDEF";
  std::string text = "\"";
  for (int i = 0; i < 4; ++i) {
    if (p[i] >= 0x20 && p[i] < 0x7F) {
      text += static_cast<char>(p[i]);
    } else {
      text += "\\x";
      text += digits[p[i] >> 4];
      text += digits[p[i] & 15];
    }
  }
  return text + "\"";
}

constexpr const char* kResaveHint =
    "; re-save the file without metadata (for example sox in.wav -t wav out.wav, or an editor's \"strip metadata\")";

} // namespace

RWaveFile::RWaveFile() = default;

RWaveFile::~RWaveFile() = default;

void RWaveFile::Open(const char* path, int openMode) {
  Close();
  refusal_.clear();
  if (plat::findFile(path) != plat::FindResult::Found) {
    refusal_ = "the input does not exist";
    throw RWF_FileNotExist{};
  }
  mode = openMode;
  // A file that is there but cannot be read is no usable wave file.
  auto file = std::make_unique<FileByteSource>(path);
  if (!file->IsOpen()) Refuse("the input cannot be read: " + plat::errorText(plat::lastError()));
  Open(std::move(file));
}

void RWaveFile::Open(std::unique_ptr<ByteSource> source) {
  Close();
  refusal_.clear();
  if (!source || !source->IsOpen() || !source->Seek(0)) Refuse("the input cannot be read");
  source_ = std::move(source);
  position_ = 0;
  try {
    Parse();
  } catch (...) {
    Close();
    throw;
  }
}

void RWaveFile::Close() {
  source_.reset();
  position_ = 0;
  dataEnd_ = 0;
}

std::uint32_t RWaveFile::Read(void* buffer, std::uint32_t count) {
  if (!source_) return 0;
  const std::int64_t left = std::max<std::int64_t>(dataEnd_ - position_, 0);
  const std::uint32_t got = source_->Read(buffer, static_cast<std::uint32_t>(std::min<std::int64_t>(count, left)));
  position_ += got;
  return got;
}

std::int64_t RWaveFile::Size() const { return source_ ? source_->Size() : -1; }

bool RWaveFile::ReadHeader(void* buffer, std::uint32_t count) {
  const std::uint32_t got = source_->Read(buffer, count);
  position_ += got;
  return got == count;
}

bool RWaveFile::Skip(std::uint32_t count) {
  position_ += count;
  return source_->Seek(position_);
}

void RWaveFile::Refuse(std::string reason) {
  refusal_ = std::move(reason);
  throw RWF_NotWaveFormat{};
}

void RWaveFile::RefuseFormat(std::string reason) {
  refusal_ = std::move(reason);
  throw RWF_NotPCMFile{};
}

void RWaveFile::Parse() {
  // Sizes are compared in 64 bits so that a size field near 2^32 cannot wrap
  // a check into passing.
  const std::int64_t fileSize = Size();
  if (fileSize < 0) Refuse("the input cannot be read: " + plat::errorText(plat::lastError()));

  unsigned char head[20] = {};
  if (!ReadHeader(head, sizeof head)) Refuse("not a RIFF WAVE file: shorter than its header");
  if (!HasId(head, "RIFF")) Refuse("not a RIFF WAVE file: it begins with " + IdText(head) + ", not \"RIFF\"");
  if (std::int64_t{LoadLe32(head + 4)} + 8 > fileSize)
    Refuse("the RIFF size field promises " + std::to_string(std::int64_t{LoadLe32(head + 4)} + 8) +
           " bytes, but the file holds " + std::to_string(fileSize) + " (cut short?)");
  if (!HasId(head + 8, "WAVE")) Refuse("not a RIFF WAVE file: its form type is " + IdText(head + 8) + ", not \"WAVE\"");
  if (!HasId(head + 12, "fmt "))
    Refuse("a " + IdText(head + 12) + " chunk where the format expects \"fmt \"" + kResaveHint);
  const std::uint32_t fmtSize = LoadLe32(head + 16);
  if (fmtSize < 16) Refuse("the \"fmt \" chunk is " + std::to_string(fmtSize) + " bytes long, less than 16");

  unsigned char fmt[16] = {};
  if (!ReadHeader(fmt, sizeof fmt)) Refuse("the \"fmt \" chunk is cut short");
  formatTag = LoadLe16(fmt);
  channels = LoadLe16(fmt + 2);
  sampleRate = LoadLe32(fmt + 4);
  avgBytesPerSec = LoadLe32(fmt + 8);
  blockAlign = LoadLe16(fmt + 12);
  bitsPerSample = LoadLe16(fmt + 14);
  if (!Skip(fmtSize - 16)) Refuse("the \"fmt \" chunk is cut short");

  if (formatTag != 1) RefuseFormat("not PCM: the format tag is " + std::to_string(formatTag) + ", not 1");
  extraSize = 0;
  // The sample buffers hold two channels; a frame size that disagrees with
  // the channel count would split samples across channels.
  if (channels < 1 || channels > 2)
    Refuse(std::to_string(channels) + " channels: only mono and stereo files are encoded");
  if (blockAlign == 0 || (bitsPerSample == 16 && blockAlign != channels * 2))
    Refuse("the block align field (" + std::to_string(blockAlign) + ") does not fit " + std::to_string(channels) +
           " channel(s) of " + std::to_string(bitsPerSample) + " bits");

  std::uint32_t dataSize = 0;
  for (;;) {
    unsigned char chunk[8] = {};
    if (!ReadHeader(chunk, sizeof chunk)) Refuse("no \"data\" chunk");
    const std::uint32_t size = LoadLe32(chunk + 4);
    if (HasId(chunk, "data")) {
      dataSize = size;
      break;
    }
    if (!HasId(chunk, "fact")) Refuse("a " + IdText(chunk) + " chunk where the format expects \"data\"" + kResaveHint);
    if (!Skip(size)) Refuse("the \"fact\" chunk is cut short");
  }

  const std::int64_t position = position_;
  if (position > fileSize || std::int64_t{dataSize} > fileSize - position)
    Refuse("the \"data\" chunk declares " + std::to_string(dataSize) + " bytes, but only " +
           std::to_string(position > fileSize ? 0 : fileSize - position) + " follow (cut short?)");
  dataStart = static_cast<std::uint32_t>(position);
  frames = dataSize / blockAlign;
  dataEnd_ = position + std::int64_t{frames} * blockAlign;
}
