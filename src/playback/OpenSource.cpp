#include "playback/OpenSource.h"

#include "playback/RMemorySource.h"
#include "support/Exceptions.h"
#include "tkwDec32.h"

std::unique_ptr<RSoundSource> OpenSource(const SoundCache& cache, SoundIndex& index, std::uint32_t number, bool loop) {
  std::unique_ptr<RSoundSource> source;
  if (const auto cached = cache.Find(number)) {
    source = std::make_unique<RMemorySource>(*cached, loop);
  } else {
    if (!index.Exists(number)) throw PC_BadIndex();
    source = index.Open(number, loop ? TKW_OPEN_LOOP : 0);
    if (!source) throw PC_BadIndex();
  }
  source->number = number;
  return source;
}
