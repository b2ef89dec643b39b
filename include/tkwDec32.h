/*
 * tkwDec32: decoding, numbered sound archives, playback and mixing of
 * fractal-coded (.tkw) sounds, for host programs.
 *
 * Every function returns a 32-bit status (TKW_OK on success) and never
 * throws. Handles are opaque pointers owned by the caller between their open
 * and close calls. On Windows the functions use the stdcall convention and are
 * exported under their plain names.
 */
#ifndef TKWDEC32_H
#define TKWDEC32_H

#include <stdint.h>

#if defined(_WIN32)
#define TKW_CALL __stdcall
#if defined(TKW_BUILDING_LIBRARY)
#define TKW_API __declspec(dllexport)
#else
#define TKW_API __declspec(dllimport)
#endif
#else
#define TKW_CALL
#define TKW_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes. Each function documents which of them it returns. */
#define TKW_OK 0                  /* success */
#define TKW_ERR_NULL_ARGUMENT 1   /* a required pointer argument is null */
#define TKW_ERR_FILE_NOT_FOUND 2  /* no file matches the path */
#define TKW_ERR_BAD_FORMAT 3      /* not a valid .tkw / .tkr file, or unreadable */
#define TKW_ERR_SECTOR_RANGE 4    /* sector number out of range */
#define TKR_ERR_NOT_IN_INDEX 5    /* the archive or list id is not part of the index */
#define TKR_ERR_NO_SOUND 6        /* number absent, enumeration exhausted, or cache state wrong */
#define TKR_ERR_OVERLAP 7         /* a sound number is already present */
#define TKR_ERR_BAD_PASSWORD 8    /* wrong password */
#define TKW_ERR_DEVICE_BUSY 9     /* the wave-out device is allocated elsewhere */
#define TKW_ERR_DEVICE_FORMAT 10  /* the device does not support the format */
#define TKW_ERR_PATH_TOO_LONG 11  /* a path of 500 bytes or more: nothing was opened */
#define TKW_END_OF_SOUND 13       /* a read reached the end of the sound (and wrapped) */

/* Flags of tkwDecodeOpen and tkrDecodeTkwOpen. */
#define TKW_OPEN_STREAM 0x8000 /* decode on demand instead of a sector at a time */
#define TKW_OPEN_LOOP 0x4000   /* reads wrap to frame 0 and fill every request */

#pragma pack(push, 1)
/* The 18-byte WAVEFORMATEX layout: always PCM (tag 1), 16 bits per sample. */
typedef struct TkwWaveFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t extraSize;
} TkwWaveFormat;
#pragma pack(pop)

/* ---- Single-file decoding ------------------------------------------------ */

typedef struct TkwDecodeHandle TkwDecodeHandle;

/* Opens a .tkw file. Statuses: 1, 2, 3, 11 (the handle is null), 0. */
TKW_API int32_t TKW_CALL tkwDecodeOpen(TkwDecodeHandle** handle, const char* path, uint32_t flags);
/* Length of the sound in frames. */
TKW_API int32_t TKW_CALL tkwDecodeGetLength(TkwDecodeHandle* handle, uint32_t* length);
/* Fills the 18-byte wave format record. */
TKW_API int32_t TKW_CALL tkwDecodeGetFormat(TkwDecodeHandle* handle, TkwWaveFormat* format);
/* Number of sectors of 131072 frames. */
TKW_API int32_t TKW_CALL tkwDecodeGetNumSector(TkwDecodeHandle* handle, int32_t* count);
/* The next read starts at frame sector * 131072; 4 when out of range. */
TKW_API int32_t TKW_CALL tkwDecodeSetSector(TkwDecodeHandle* handle, int32_t sector);
/* Reads interleaved 16-bit frames; 13 when the end was reached (the rest of
 * the buffer is zero and the next read starts at frame 0). delivered may be
 * null. */
TKW_API int32_t TKW_CALL tkwDecodeRead(TkwDecodeHandle* handle, int16_t* buffer, uint32_t frames,
                                       uint32_t* delivered);
/* Delivers only frames already decoded, without reading the file. */
TKW_API int32_t TKW_CALL tkwDecodeReadPulse(TkwDecodeHandle* handle, int16_t* buffer, uint32_t frames,
                                            uint32_t* delivered);
TKW_API int32_t TKW_CALL tkwDecodeClose(TkwDecodeHandle* handle);

/* ---- Sound index: archives, lists and single files by number ------------- */

typedef struct TkrDecodeHandle TkrDecodeHandle;
/* An archive or list file held by an index; handed back to tkrDecodeRemoveTkr. */
typedef void* TkrSoundSetId;
/* An enumeration of the numbers of an index. */
typedef struct TkrIndexEnumerator TkrIndexEnumerator;

/* A new, empty index. Statuses: 1, 0. */
TKW_API int32_t TKW_CALL tkrDecodeOpenNaked(TkrDecodeHandle** handle);
/* A new index holding one archive without a password. */
TKW_API int32_t TKW_CALL tkrDecodeOpen(TkrDecodeHandle** handle, const char* path, TkrSoundSetId* archive);
/* A new index holding one archive. The password may be null or empty for an
 * archive without one; archive may be null. Statuses: 1, 2, 3 (not an
 * archive, or damaged), 8 (wrong password), 11, 0; on failure both outs are
 * null. */
TKW_API int32_t TKW_CALL tkrDecodeOpenPass(TkrDecodeHandle** handle, const char* path, const char* password,
                                           TkrSoundSetId* archive);
/* Adds an archive without a password to an index. */
TKW_API int32_t TKW_CALL tkrDecodeAddTkr(TkrDecodeHandle* handle, const char* path, TkrSoundSetId* archive);
/* Adds an archive to an index. Statuses: 1, 2, 3, 7 (a number is already
 * present), 8, 11, 0; on failure the index is unchanged. */
TKW_API int32_t TKW_CALL tkrDecodeAddTkrPass(TkrDecodeHandle* handle, const char* path, const char* password,
                                             TkrSoundSetId* archive);
/* Removes an archive or list and all its numbers. Statuses: 1, 5 (not part
 * of the index), 0. Decode handles opened from it stay valid. */
TKW_API int32_t TKW_CALL tkrDecodeRemoveTkr(TkrDecodeHandle* handle, TkrSoundSetId set);
/* Files a single .tkw file under a number; it is found before any archive or
 * list sound of that number. Statuses: 1, 2, 3 (not a .tkw file), 11, 0. */
TKW_API int32_t TKW_CALL tkrDecodeAddTkw(TkrDecodeHandle* handle, const char* path, uint32_t number);
/* Statuses: 1, 3 (no single file under that number), 0. */
TKW_API int32_t TKW_CALL tkrDecodeRemoveTkw(TkrDecodeHandle* handle, uint32_t number);
/* Adds the .tkw files named by a list file (one "number name" per line).
 * Statuses: 1, 2, 7, 11, 0. A bad line is shown in a message box; the list
 * then adds nothing, the call returns 0 and *list is null. */
TKW_API int32_t TKW_CALL tkrDecodeAddList(TkrDecodeHandle* handle, const char* path, TkrSoundSetId* list);
/* *exists = 1 when the number can be opened, else 0. Statuses: 1, 0. */
TKW_API int32_t TKW_CALL tkrDecodeIsTkwExist(TkrDecodeHandle* handle, uint32_t number, int32_t* exists);
/* Opens a numbered sound as a decode handle (flags as for tkwDecodeOpen).
 * Statuses: 1, 6 (no such number), 0. With 0 the handle may still be null
 * when the sound's file can no longer be opened. Close it with tkwDecodeClose. */
TKW_API int32_t TKW_CALL tkrDecodeTkwOpen(TkrDecodeHandle* handle, TkwDecodeHandle** sound, uint32_t number,
                                          uint32_t flags);
/* Starts an enumeration of the archive and list numbers. Statuses: 1, 0. */
TKW_API int32_t TKW_CALL tkrDecodeFindIndex(TkrDecodeHandle* handle, TkrIndexEnumerator** enumerator);
/* The next number. Statuses: 1, 6 (no number left; *number is 0), 0. */
TKW_API int32_t TKW_CALL tkrDecodeGetIndex(TkrDecodeHandle* handle, TkrIndexEnumerator* enumerator,
                                           uint32_t* number);
TKW_API int32_t TKW_CALL tkrDecodeFindClose(TkrDecodeHandle* handle, TkrIndexEnumerator* enumerator);
/* Closes the index with all its archives and lists. */
TKW_API int32_t TKW_CALL tkrDecodeClose(TkrDecodeHandle* handle);

/* ---- Player -------------------------------------------------------------- */

/* ---- Mixer --------------------------------------------------------------- */

/* ---- Mixer channels ------------------------------------------------------ */

#ifdef __cplusplus
}
#endif

#endif /* TKWDEC32_H */
