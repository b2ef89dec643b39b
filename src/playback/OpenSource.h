// The first step of every play request, for the player and the mixer
// channels alike: the sound a number stands for, as a source to read.
#pragma once

#include "playback/RSoundSource.h"
#include "playback/SoundCache.h"
#include "playback/SoundIndex.h"

#include <cstdint>
#include <memory>

// The cached sound when the number is preloaded (played from memory, without
// asking the index), else the sound opened through the index; loop repeats
// it until stopped. Throws PC_BadIndex when the index lacks the number or its
// sound no longer opens: there is nothing to play.
std::unique_ptr<RSoundSource> OpenSource(const SoundCache& cache, SoundIndex& index, std::uint32_t number, bool loop);
