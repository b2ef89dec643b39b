// The 44-byte header of a 16-bit PCM RIFF wave file: the RIFF form, a 16-byte
// "fmt " chunk and the header of the "data" chunk that follows it.
#pragma once

#include <array>
#include <cstdint>

inline constexpr std::uint32_t kPcm16WaveHeaderBytes = 44;
// The RIFF size field is 32 bits and counts the header after its first 8
// bytes: no header can announce more sample bytes than this.
inline constexpr std::uint32_t kMaxPcm16WaveDataBytes = 0xFFFFFFFFu - (kPcm16WaveHeaderBytes - 8);

// The header of a file holding dataBytes bytes of samples (at most
// kMaxPcm16WaveDataBytes).
std::array<unsigned char, kPcm16WaveHeaderBytes> Pcm16WaveHeader(std::uint16_t channels, std::uint32_t sampleRate,
                                                                 std::uint32_t dataBytes);
