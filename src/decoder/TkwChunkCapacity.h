// How many frames the chunks of a sound can really decode to. Every block
// takes a least number of bits and yields at most 512 samples, so a chunk of
// n bytes yields at most ceil(8n / least bits) blocks; past its bytes the bit
// reader gives zeros, silence that no byte of the file paid for. A length
// that the chunks cannot fill is therefore a lie of the file, and nothing is
// allocated on it.
#pragma once

#include "format/TkwHeader.h"
#include "format/TkwSectorTable.h"

#include <cstdint>
#include <vector>

// The most samples one chunk of `chunkBytes` bytes can decode to.
std::uint64_t TkwChunkSampleLimit(const TkwHeaderValues& header, std::uint32_t chunkBytes);

// True when, in every sector, each channel's chunk can decode to the sector's
// frames. Expects header values and a table that passed their checks.
bool TkwChunksCanFillLength(const TkwHeaderValues& header, const std::vector<TkwSectorEntry>& table);
