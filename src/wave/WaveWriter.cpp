#include "wave/WaveWriter.h"

#include "support/ByteOrder.h"
#include "wave/Pcm16WaveHeader.h"

WaveWriter::WaveWriter(Destination& destination, std::uint16_t channels, std::uint32_t sampleRate)
    : destination_(destination), channels_(channels), sampleRate_(sampleRate) {}

bool WaveWriter::Fail(std::string reason) {
  error_ = std::move(reason);
  return false;
}

bool WaveWriter::WriteHeader(std::uint32_t dataBytes, bool overwrite) {
  const auto header = Pcm16WaveHeader(channels_, sampleRate_, dataBytes);
  const bool written = overwrite ? destination_.OverwriteStart(header.data(), header.size())
                                 : destination_.Append(header.data(), header.size());
  return written || Fail(destination_.Failure());
}

bool WaveWriter::Begin(std::uint64_t frames) {
  const std::uint64_t announced = frames * channels_ * 2u;
  if (announced > kMaxPcm16WaveDataBytes) return Fail("the sound is too long for a wave file (over 4 GB)");
  dataBytes_ = 0;
  return WriteHeader(static_cast<std::uint32_t>(announced), false);
}

bool WaveWriter::Write(const std::int16_t* samples, std::size_t count) {
  const std::uint64_t size = std::uint64_t{count} * 2;
  if (dataBytes_ + size > kMaxPcm16WaveDataBytes) return Fail("the wave file would grow past 4 GB");
  bytes_.resize(static_cast<std::size_t>(size));
  for (std::size_t i = 0; i < count; ++i)
    StoreLe16(&bytes_[i * 2], static_cast<std::uint16_t>(samples[i]));
  if (!destination_.Append(bytes_.data(), bytes_.size())) return Fail(destination_.Failure());
  dataBytes_ += size;
  return true;
}

bool WaveWriter::UpdateHeader() { return WriteHeader(static_cast<std::uint32_t>(dataBytes_), true); }
