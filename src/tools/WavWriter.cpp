#include "WavWriter.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr std::uint32_t kHeaderSize = 44;
// The RIFF size fields are 32-bit.
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kHeaderSize - 8);

void PutTag(std::vector<char>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(tag[i]);
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

WavWriter::WavWriter(std::string path, std::uint16_t channels, std::uint32_t sampleRate)
    : path_(std::move(path)), partPath_(path_ + ".part"), channels_(channels), sampleRate_(sampleRate) {
  out_.open(partPath_, std::ios::binary | std::ios::trunc);
  const std::vector<char> header = Header(channels_, sampleRate_, 0);
  if (out_) out_.write(header.data(), static_cast<std::streamsize>(header.size()));
}

WavWriter::~WavWriter() {
  if (finished_) return;
  out_.close();
  std::error_code ignored;
  std::filesystem::remove(partPath_, ignored);
}

bool WavWriter::Write(const std::int16_t* samples, std::uint32_t frames) {
  const std::size_t count = std::size_t{frames} * channels_;
  if (dataBytes_ + count * 2 > kMaxDataBytes) return false;
  std::vector<char> bytes;
  bytes.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i)
    Put16(bytes, static_cast<std::uint16_t>(samples[i]));
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  dataBytes_ += bytes.size();
  return static_cast<bool>(out_);
}

bool WavWriter::Finish() {
  const std::vector<char> header = Header(channels_, sampleRate_, static_cast<std::uint32_t>(dataBytes_));
  out_.seekp(0);
  out_.write(header.data(), static_cast<std::streamsize>(header.size()));
  out_.close();
  if (!out_) return false;
  std::error_code error;
  std::filesystem::rename(partPath_, path_, error);
  if (error) return false;
  finished_ = true;
  return true;
}
