#include "exports/TkrSoundIndex.h"

#include "exports/RDecodeSource.h"

bool TkrSoundIndex::Exists(std::uint32_t number) {
  std::int32_t exists = 0;
  return tkrDecodeIsTkwExist(handle_, number, &exists) == TKW_OK && exists != 0;
}

std::unique_ptr<RSoundSource> TkrSoundIndex::Open(std::uint32_t number, std::uint32_t flags) {
  TkwDecodeHandle* sound = nullptr;
  // Status 0 with a null handle: the number is known but its file no longer opens.
  if (tkrDecodeTkwOpen(handle_, &sound, number, flags) != TKW_OK || sound == nullptr) return nullptr;
  return std::make_unique<RDecodeSource>(sound, number, flags);
}
