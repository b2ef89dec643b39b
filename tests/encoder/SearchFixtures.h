// Chunks encoded with a chosen search, test signals that stress the exact
// arithmetic, and the bundled sample sounds.
#pragma once

#include "encoder/BlockEncoder.h"
#include "encoder/EncoderSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace enc_test {

// The bytes of one chunk; `search` defaults to the plain reference search.
std::vector<unsigned char> EncodeChunkWith(int version, const EncoderSettings& settings,
                                           const std::vector<std::int16_t>& samples, const SearchOptions& search = {});

// Every batch kernel this build and processor run, the plain one first.
std::vector<KernelKind> RunnableKernels();

enum class Stress { Noise, Silence, FullScaleSquare, Alternating, Impulses, Clipped, ConstantLowest, Speech };
const char* StressName(Stress kind);
std::vector<std::int16_t> MakeStress(Stress kind, std::size_t count, unsigned seed = 1);

// A bundled sample (samples/NAME.wav): its path, and one channel's samples.
std::string SamplePath(const std::string& name);
std::vector<std::int16_t> SampleChannel(const std::string& name, int channel);

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes);

} // namespace enc_test
