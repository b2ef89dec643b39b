#include "WavWriter.h"

#include <vector>

namespace {

constexpr std::uint32_t kHeaderSize = 44;
// The RIFF size fields are 32-bit.
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kHeaderSize - 8);

void PutTag(std::vector<char>& out, const char* tag) {
  for (int i = 0; i < 4; ++i)
    out.push_back(tag[i]);
}

void Put16(std::vector<char>& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::vector<char>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::vector<char> Header(std::uint16_t channels, std::uint32_t rate, std::uint32_t dataBytes) {
  std::vector<char> h;
  PutTag(h, "RIFF");
  Put32(h, kHeaderSize - 8 + dataBytes);
  PutTag(h, "WAVE");
  PutTag(h, "fmt ");
  Put32(h, 16);
  Put16(h, 1); // PCM
  Put16(h, channels);
  Put32(h, rate);
  Put32(h, rate * channels * 2u);
  Put16(h, static_cast<std::uint16_t>(channels * 2));
  Put16(h, 16);
  PutTag(h, "data");
  Put32(h, dataBytes);
  return h;
}

} // namespace

WavWriter::WavWriter(std::string path, std::uint16_t channels, std::uint32_t sampleRate, std::uint32_t frames)
    : out_(std::move(path)), channels_(channels), sampleRate_(sampleRate), frames_(frames) {}

bool WavWriter::Fail(std::string reason) {
  error_ = std::move(reason);
  return false;
}

bool WavWriter::Open() {
  const std::uint64_t dataBytes = std::uint64_t{frames_} * channels_ * 2;
  if (dataBytes > kMaxDataBytes) return Fail("the sound is too long for a wave file (over 4 GB)");
  if (!out_.Open()) return Fail(out_.error());
  const std::vector<char> header = Header(channels_, sampleRate_, static_cast<std::uint32_t>(dataBytes));
  return out_.Write(header.data(), header.size()) || Fail(out_.error());
}

bool WavWriter::Write(const std::int16_t* samples, std::uint32_t frames) {
  if (written_ + frames > frames_) return Fail("more frames than the sound has");
  const std::size_t count = std::size_t{frames} * channels_;
  std::vector<char> bytes;
  bytes.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i)
    Put16(bytes, static_cast<std::uint16_t>(samples[i]));
  if (!out_.Write(bytes.data(), bytes.size())) return Fail(out_.error());
  written_ += frames;
  return true;
}

bool WavWriter::Finish() {
  if (written_ != frames_) return Fail("the sound ended early");
  return out_.Commit() || Fail(out_.error());
}
