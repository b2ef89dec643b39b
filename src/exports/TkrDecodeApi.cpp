// The tkrDecode… exports: the sound index for host programs. Every export
// that can meet a condition answers it with a status.
#include "decoder/TkrArchive.h"
#include "decoder/TkrDecodeHandle.h"
#include "decoder/TkrFileList.h"
#include "decoder/TkwDecodeHandle.h"
#include "exports/ExportStatus.h"
#include "exports/MessageBoxSink.h"
#include "platform/Files.h"
#include "support/Exceptions.h"
#include "support/RString.h"

#include "tkwDec32.h"

#include <cstring>
#include <memory>

namespace {

// 0 when the path can be opened as a file name, else the status to return.
int32_t checkPath(const char* path) {
  if (std::strlen(path) >= RString::kCapacity) return TKW_ERR_PATH_TOO_LONG;
  if (plat::findFile(path) != plat::FindResult::Found) return TKW_ERR_FILE_NOT_FOUND;
  return TKW_OK;
}

constexpr exports::Family kFamily = exports::Family::Index;

// A list that is there but cannot be read is a file that cannot be opened
// now, not a set missing from the index.
std::unique_ptr<TkrFileList> loadList(const char* path, const TkwMessageSink& sink) {
  try {
    return TkrFileList::Load(path, sink);
  } catch (const TKR_NotFound&) {
    throw TKR_CannotOpen();
  }
}

int32_t addArchive(TkrDecodeHandle& index, const char* path, const char* password, TkrSoundSetId* archive) {
  if (const int32_t status = checkPath(path)) return status;
  TkrSoundSet* added = index.AddSet(TkrArchive::Read(path, password));
  if (archive != nullptr) *archive = added;
  return TKW_OK;
}

} // namespace

extern "C" {

TKW_API int32_t TKW_CALL tkrDecodeOpenNaked(TkrDecodeHandle** handle) {
  if (handle == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *handle = nullptr;
  return exports::Guarded(kFamily, [&] {
    *handle = new TkrDecodeHandle(exports::MessageBoxSink());
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrDecodeOpen(TkrDecodeHandle** handle, const char* path, TkrSoundSetId* archive) {
  return tkrDecodeOpenPass(handle, path, nullptr, archive);
}

TKW_API int32_t TKW_CALL tkrDecodeOpenPass(TkrDecodeHandle** handle, const char* path, const char* password,
                                           TkrSoundSetId* archive) {
  if (handle != nullptr) *handle = nullptr;
  if (archive != nullptr) *archive = nullptr;
  if (handle == nullptr || path == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    auto index = std::make_unique<TkrDecodeHandle>(exports::MessageBoxSink());
    const int32_t status = addArchive(*index, path, password, archive);
    if (status == TKW_OK) *handle = index.release();
    return status;
  });
}

TKW_API int32_t TKW_CALL tkrDecodeAddTkr(TkrDecodeHandle* handle, const char* path, TkrSoundSetId* archive) {
  return tkrDecodeAddTkrPass(handle, path, nullptr, archive);
}

TKW_API int32_t TKW_CALL tkrDecodeAddTkrPass(TkrDecodeHandle* handle, const char* path, const char* password,
                                             TkrSoundSetId* archive) {
  if (archive != nullptr) *archive = nullptr;
  if (handle == nullptr || path == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] { return addArchive(*handle, path, password, archive); });
}

TKW_API int32_t TKW_CALL tkrDecodeRemoveTkr(TkrDecodeHandle* handle, TkrSoundSetId set) {
  if (handle == nullptr || set == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    handle->RemoveSet(set);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrDecodeAddTkw(TkrDecodeHandle* handle, const char* path, uint32_t number) {
  if (handle == nullptr || path == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    if (const int32_t status = checkPath(path)) return status;
    TkwDecodeHandle::Open(path, 0, handle->Sink()); // throws TKW_BadFormat for anything but a sound
    handle->AddPath(number, path);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrDecodeRemoveTkw(TkrDecodeHandle* handle, uint32_t number) {
  if (handle == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return handle->RemovePath(number) ? TKW_OK : TKW_ERR_BAD_FORMAT;
}

TKW_API int32_t TKW_CALL tkrDecodeAddList(TkrDecodeHandle* handle, const char* path, TkrSoundSetId* list) {
  if (list != nullptr) *list = nullptr;
  if (handle == nullptr || path == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    if (const int32_t status = checkPath(path)) return status;
    std::unique_ptr<TkrFileList> loaded = loadList(path, handle->Sink());
    if (!loaded) return TKW_OK; // the message box has told the user
    TkrSoundSet* added = handle->AddSet(std::move(loaded));
    if (list != nullptr) *list = added;
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrDecodeIsTkwExist(TkrDecodeHandle* handle, uint32_t number, int32_t* exists) {
  if (handle == nullptr || exists == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *exists = handle->Contains(number) ? 1 : 0;
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrDecodeTkwOpen(TkrDecodeHandle* handle, TkwDecodeHandle** sound, uint32_t number,
                                          uint32_t flags) {
  if (sound != nullptr) *sound = nullptr;
  if (handle == nullptr || sound == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    *sound = handle->OpenSound(number, flags).release();
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrDecodeFindIndex(TkrDecodeHandle* handle, TkrIndexEnumerator** enumerator) {
  if (enumerator != nullptr) *enumerator = nullptr;
  if (handle == nullptr || enumerator == nullptr) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    *enumerator = handle->StartEnumeration();
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrDecodeGetIndex(TkrDecodeHandle* handle, TkrIndexEnumerator* enumerator, uint32_t* number) {
  if (handle == nullptr || enumerator == nullptr || number == nullptr) return TKW_ERR_NULL_ARGUMENT;
  *number = 0;
  // An enumerator this index did not hand out (or has freed) is never used.
  if (!handle->IsEnumerator(enumerator)) return TKW_ERR_NULL_ARGUMENT;
  return exports::Guarded(kFamily, [&] {
    *number = handle->NextNumber(enumerator);
    return TKW_OK;
  });
}

TKW_API int32_t TKW_CALL tkrDecodeFindClose(TkrDecodeHandle* handle, TkrIndexEnumerator* enumerator) {
  if (handle == nullptr || enumerator == nullptr) return TKW_ERR_NULL_ARGUMENT;
  if (!handle->IsEnumerator(enumerator)) return TKW_ERR_NULL_ARGUMENT;
  handle->EndEnumeration(enumerator);
  return TKW_OK;
}

TKW_API int32_t TKW_CALL tkrDecodeClose(TkrDecodeHandle* handle) {
  if (handle == nullptr) return TKW_ERR_NULL_ARGUMENT;
  delete handle;
  return TKW_OK;
}

} // extern "C"
