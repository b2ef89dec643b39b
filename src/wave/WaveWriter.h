// Writes a 16-bit PCM wave file: the header first, then the samples as they
// come. The header announces a length given at the start, which is all an
// output that cannot go back (a pipe, standard output) allows; an output that
// can has the header brought up to date with what was written, whenever the
// file must be complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class WaveWriter {
public:
  // Where the bytes go, in order.
  class Destination {
  public:
    virtual ~Destination() = default;
    virtual bool Append(const void* bytes, std::size_t size) = 0;
    // Writes over the first bytes, then goes on appending at the end; false
    // when the output cannot go back.
    virtual bool OverwriteStart(const void* bytes, std::size_t size) = 0;
    // Why the last call failed, for messages.
    virtual std::string Failure() const = 0;
  };

  // The destination outlives the writer.
  WaveWriter(Destination& destination, std::uint16_t channels, std::uint32_t sampleRate);

  // Writes the header announcing `frames` frames; false when a wave file
  // cannot hold that many.
  bool Begin(std::uint64_t frames = 0);
  // Appends `count` interleaved samples (host order) as little-endian words;
  // false, writing nothing, when the file would grow past what its header can
  // announce.
  bool Write(const std::int16_t* samples, std::size_t count);
  // Rewrites the header to announce every sample written so far.
  bool UpdateHeader();

  std::uint64_t DataBytes() const { return dataBytes_; }
  // Why the last call failed.
  const std::string& error() const { return error_; }

private:
  bool WriteHeader(std::uint32_t dataBytes, bool overwrite);
  bool Fail(std::string reason);

  Destination& destination_;
  std::uint16_t channels_;
  std::uint32_t sampleRate_;
  std::uint64_t dataBytes_ = 0;
  std::vector<unsigned char> bytes_; // the little-endian form of the last write
  std::string error_;
};
