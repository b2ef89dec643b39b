/*
 * tkwDec32: decoding, numbered sound archives, playback and mixing of
 * fractal-coded (.tkw) sounds, for host programs.
 *
 * Every function returns a 32-bit status (TKW_OK on success) and never
 * throws. A failure the library does not expect inside (memory running out)
 * is reported as TKW_ERR_BAD_FORMAT with nothing changed. Handles are opaque
 * pointers owned by the caller between their open and close calls. On Windows
 * the functions use the stdcall convention and are exported under their plain
 * names.
 */
#ifndef TKWDEC32_H
#define TKWDEC32_H

#include <stdint.h>

/* The library's version. The build refuses to configure when these differ
 * from the project's version, so they always describe the binary built. */
#define TKW_VERSION_MAJOR 1
#define TKW_VERSION_MINOR 0
#define TKW_VERSION_PATCH 0
#define TKW_VERSION "1.0.0"

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
#define TKW_OK 0                 /* success */
#define TKW_ERR_NULL_ARGUMENT 1  /* a required pointer argument is null */
#define TKW_ERR_FILE_NOT_FOUND 2 /* no file matches the path, or it cannot be opened now */
#define TKW_ERR_BAD_FORMAT 3     /* not a valid .tkw / .tkr file (or no file of data), or unreadable */
#define TKW_ERR_SECTOR_RANGE 4   /* sector number out of range */
#define TKR_ERR_NOT_IN_INDEX 5   /* the archive or list id is not part of the index */
#define TKR_ERR_NO_SOUND 6       /* number absent, enumeration exhausted, or cache state wrong */
#define TKR_ERR_OVERLAP 7        /* a sound number is already present */
#define TKR_ERR_BAD_PASSWORD 8   /* wrong password */
#define TKW_ERR_DEVICE_BUSY 9    /* the wave-out device is allocated elsewhere */
#define TKW_ERR_DEVICE_FORMAT 10 /* the device does not support the format */
#define TKW_ERR_PATH_TOO_LONG 11 /* a path of 500 bytes or more: nothing was opened */
#define TKW_END_OF_SOUND 13      /* a read reached the end of the sound (and wrapped) */

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

/** Opens a .tkw file.
 * @return TKW_ERR_NULL_ARGUMENT; TKW_ERR_FILE_NOT_FOUND (no such file, or it
 * exists but cannot be opened: no file handle left, no access);
 * TKW_ERR_BAD_FORMAT (not a sound; also a folder, device or pipe, which is
 * refused without waiting); TKW_ERR_PATH_TOO_LONG; TKW_OK. */
TKW_API int32_t TKW_CALL tkwDecodeOpen(TkwDecodeHandle** handle, const char* path, uint32_t flags);
/** Length of the sound in frames.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkwDecodeGetLength(TkwDecodeHandle* handle, uint32_t* length);
/** Fills the 18-byte wave format record.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkwDecodeGetFormat(TkwDecodeHandle* handle, TkwWaveFormat* format);
/** Number of sectors of 131072 frames.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkwDecodeGetNumSector(TkwDecodeHandle* handle, int32_t* count);
/** The next read starts at frame sector * 131072.
 * @return TKW_ERR_NULL_ARGUMENT; TKW_ERR_SECTOR_RANGE (out of range); TKW_OK. */
TKW_API int32_t TKW_CALL tkwDecodeSetSector(TkwDecodeHandle* handle, int32_t sector);
/** Reads interleaved 16-bit frames. delivered may be null. Each read opens
 * the sound's file again by its path.
 * @return TKW_ERR_NULL_ARGUMENT; TKW_ERR_FILE_NOT_FOUND (the file cannot be
 * opened again: nothing is read, the buffer is silence, *delivered and the
 * position stay as they were, and the "Debug" message box is shown);
 * TKW_ERR_BAD_FORMAT; TKW_END_OF_SOUND (the end was reached: the rest of the
 * buffer is zero and the next read starts at frame 0); TKW_OK. */
TKW_API int32_t TKW_CALL tkwDecodeRead(TkwDecodeHandle* handle, int16_t* buffer, uint32_t frames, uint32_t* delivered);
/** Delivers only frames already decoded, without reading the file.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkwDecodeReadPulse(TkwDecodeHandle* handle, int16_t* buffer, uint32_t frames,
                                            uint32_t* delivered);
/** Closes the handle.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkwDecodeClose(TkwDecodeHandle* handle);

/* ---- Sound index: archives, lists and single files by number ------------- */

typedef struct TkrDecodeHandle TkrDecodeHandle;
/* An archive or list file held by an index; handed back to tkrDecodeRemoveTkr. */
typedef void* TkrSoundSetId;
/* An enumeration of the numbers of an index. */
typedef struct TkrIndexEnumerator TkrIndexEnumerator;

/** A new, empty index.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeOpenNaked(TkrDecodeHandle** handle);
/** A new index holding one archive without a password.
 * @return as tkrDecodeOpenPass. */
TKW_API int32_t TKW_CALL tkrDecodeOpen(TkrDecodeHandle** handle, const char* path, TkrSoundSetId* archive);
/** A new index holding one archive. The password may be null or empty for an
 * archive without one; archive may be null. On failure both outs are null.
 * @return TKW_ERR_NULL_ARGUMENT; TKW_ERR_FILE_NOT_FOUND (no such file, or it
 * cannot be opened now); TKW_ERR_BAD_FORMAT (not an archive, or damaged);
 * TKR_ERR_BAD_PASSWORD; TKW_ERR_PATH_TOO_LONG; TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeOpenPass(TkrDecodeHandle** handle, const char* path, const char* password,
                                           TkrSoundSetId* archive);
/** Adds an archive without a password to an index.
 * @return as tkrDecodeAddTkrPass. */
TKW_API int32_t TKW_CALL tkrDecodeAddTkr(TkrDecodeHandle* handle, const char* path, TkrSoundSetId* archive);
/** Adds an archive to an index. On failure the index is unchanged.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_ERR_FILE_NOT_FOUND, TKW_ERR_BAD_FORMAT,
 * TKR_ERR_OVERLAP (a number is already present), TKR_ERR_BAD_PASSWORD,
 * TKW_ERR_PATH_TOO_LONG, TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeAddTkrPass(TkrDecodeHandle* handle, const char* path, const char* password,
                                             TkrSoundSetId* archive);
/** Removes an archive or list and all its numbers. Decode handles opened
 * from it stay valid.
 * @return TKW_ERR_NULL_ARGUMENT; TKR_ERR_NOT_IN_INDEX (not part of the
 * index); TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeRemoveTkr(TkrDecodeHandle* handle, TkrSoundSetId set);
/** Files a single .tkw file under a number; it is found before any archive
 * or list sound of that number.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_ERR_FILE_NOT_FOUND, TKW_ERR_BAD_FORMAT
 * (not a .tkw file), TKW_ERR_PATH_TOO_LONG, TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeAddTkw(TkrDecodeHandle* handle, const char* path, uint32_t number);
/** Removes the single file filed under a number.
 * @return TKW_ERR_NULL_ARGUMENT; TKW_ERR_BAD_FORMAT (no single file under
 * that number); TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeRemoveTkw(TkrDecodeHandle* handle, uint32_t number);
/** Adds the .tkw files named by a list file (one "number name" per line). A
 * bad line (also any entry past the 65535th, as in the archive converter) is
 * shown in a message box; the list then adds nothing, the call returns
 * TKW_OK and *list is null.
 * @return TKW_ERR_NULL_ARGUMENT; TKW_ERR_FILE_NOT_FOUND (no such list, it
 * cannot be read, or a file it names cannot be opened now); TKR_ERR_OVERLAP;
 * TKW_ERR_PATH_TOO_LONG; TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeAddList(TkrDecodeHandle* handle, const char* path, TkrSoundSetId* list);
/** *exists = 1 when the number can be opened, else 0.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeIsTkwExist(TkrDecodeHandle* handle, uint32_t number, int32_t* exists);
/** Opens a numbered sound as a decode handle (flags as for tkwDecodeOpen).
 * Close it with tkwDecodeClose.
 * @return TKW_ERR_NULL_ARGUMENT; TKR_ERR_NO_SOUND (no such number); TKW_OK,
 * with which the handle may still be null when the sound's file can no
 * longer be opened. */
TKW_API int32_t TKW_CALL tkrDecodeTkwOpen(TkrDecodeHandle* handle, TkwDecodeHandle** sound, uint32_t number,
                                          uint32_t flags);
/** Starts an enumeration of the archive and list numbers.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeFindIndex(TkrDecodeHandle* handle, TkrIndexEnumerator** enumerator);
/** The next number.
 * @return TKW_ERR_NULL_ARGUMENT (also an enumerator not of this index);
 * TKR_ERR_NO_SOUND (no number left; *number is 0); TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeGetIndex(TkrDecodeHandle* handle, TkrIndexEnumerator* enumerator, uint32_t* number);
/** Ends an enumeration.
 * @return TKW_ERR_NULL_ARGUMENT (also an enumerator not of this index),
 * TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeFindClose(TkrDecodeHandle* handle, TkrIndexEnumerator* enumerator);
/** Closes the index with all its archives and lists.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrDecodeClose(TkrDecodeHandle* handle);

/* ---- Player -------------------------------------------------------------- */

/* Plays the sounds of one index one after another, each in its own format. */
typedef struct TkrPlayHandle TkrPlayHandle;

/* An event owned by a player or channel: a Windows event handle on Windows
 * (wait on it, never close it); elsewhere an opaque token. */
typedef void* TkrEventHandle;

/* Where a player is. position is always 0; lengthMs is the current sound's
 * length; elapsedMs counts from its start and goes on after its end. */
typedef struct TkrPlayPosition {
  int32_t position;
  uint32_t lengthMs;
  uint32_t elapsedMs;
} TkrPlayPosition;
/* The name of earlier versions. */
typedef TkrPlayPosition PlayPosition;

/* Conditions of a player. */
#define TKR_PLAY_STREAMING 0 /* a sound plays */
#define TKR_PLAY_IDLE 1      /* nothing plays or waits, and the device can be opened */
#define TKR_PLAY_NO_DEVICE 2 /* nothing plays or waits, and the device cannot be opened */
#define TKR_PLAY_STARTING 3  /* a sound is about to play */

/** Opens a player on an index, which the player uses until it is closed.
 * @return TKW_ERR_NULL_ARGUMENT (*player is null), TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayOpen(TkrPlayHandle** player, TkrDecodeHandle* index);
/** The player's index.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayGetTkr(TkrPlayHandle* player, TkrDecodeHandle** index);
/** One of the TKR_PLAY_ conditions.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayGetCondition(TkrPlayHandle* player, int32_t* condition);
/** Where the player is.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayGetPosition(TkrPlayHandle* player, TkrPlayPosition* position);
/** Plays the number now, cutting off what plays and what waits. event may be
 * null; on success it receives an event set when an idle player wakes and
 * reset when a sound ends. On failure nothing stops and *event is null.
 * @return TKW_ERR_NULL_ARGUMENT; TKR_ERR_NO_SOUND (no such number);
 * TKW_ERR_DEVICE_BUSY (the device is held elsewhere; checked only while
 * idle); TKW_ERR_DEVICE_FORMAT (the device cannot play the sound's format);
 * TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayStart(TkrPlayHandle* player, uint32_t number, TkrEventHandle* event);
/** As tkrPlayStart, repeating the sound until it is stopped.
 * @return as tkrPlayStart. */
TKW_API int32_t TKW_CALL tkrPlayLoop(TkrPlayHandle* player, uint32_t number);
/** Plays the number after the sounds already waiting.
 * @return as tkrPlayStart. */
TKW_API int32_t TKW_CALL tkrPlayChain(TkrPlayHandle* player, uint32_t number);
/** Stops playback and discards the waiting sounds.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayReset(TkrPlayHandle* player);
/** Decodes the number into the player's memory (flags as for tkwDecodeOpen),
 * so that it plays without decoding. The limit is MaxCacheMB in section
 * [Tkw_SoundCache] of TkwDec32.ini in the current directory, in megabytes
 * (default 256), read at each tkrPlayOpen.
 * @return TKW_ERR_NULL_ARGUMENT; TKR_ERR_NO_SOUND (no such number, already
 * loaded, a file that declares more frames than its data holds, a sound that
 * cannot be read, no memory, or the player's preloaded sounds would take more
 * than the cache limit; nothing is loaded); TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayLoad(TkrPlayHandle* player, uint32_t number, uint32_t flags);
/** Frees a loaded number; a sound still playing from it plays on.
 * @return TKW_ERR_NULL_ARGUMENT; TKR_ERR_NO_SOUND (not loaded); TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayRelease(TkrPlayHandle* player, uint32_t number);
/** Stops and closes the player, then closes its index.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayClose(TkrPlayHandle* player);
/** Stops and closes the player and leaves its index open.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrPlayClose2(TkrPlayHandle* player);

/* ---- Mixer --------------------------------------------------------------- */

/* Plays the sounds of one index at the same time on channels, through one
 * device held open in a fixed format. */
typedef struct TkrMixHandle TkrMixHandle;
/* One voice of a mixer; valid until it or its mixer is closed. */
typedef struct TkrChannelHandle TkrChannelHandle;

/* Format word of tkrMixOpen: the rate (0 means 22050), with this bit for one
 * output channel instead of two. */
#define TKR_MIX_MONO 0x1000000

/** Opens a mixer on an index and starts it. On TKW_ERR_DEVICE_BUSY and
 * TKW_ERR_DEVICE_FORMAT *mixer is null.
 * @return TKW_ERR_NULL_ARGUMENT (*mixer untouched); TKW_ERR_DEVICE_BUSY (the
 * device is held elsewhere or cannot be opened); TKW_ERR_DEVICE_FORMAT (the
 * device cannot play the format); TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixOpen(TkrMixHandle** mixer, TkrDecodeHandle* index, uint32_t format);
/** The mixer's index.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixGetTkr(TkrMixHandle* mixer, TkrDecodeHandle** index);
/** Silences every channel; the mixer plays on.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixReset(TkrMixHandle* mixer);
/** Decodes the number into the mixer's memory, replacing an earlier load; the
 * flags are not used. The limit is as for tkrPlayLoad (MaxCacheMB in
 * [Tkw_SoundCache] of TkwDec32.ini, default 256), read at each tkrMixOpen.
 * @return TKW_ERR_NULL_ARGUMENT; TKR_ERR_NO_SOUND (no such number, a file
 * that declares more frames than its data holds, a sound that cannot be read,
 * no memory, or the mixer's preloaded sounds would take more than the cache
 * limit; nothing changes); TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixLoad(TkrMixHandle* mixer, uint32_t number, uint32_t flags);
/** Frees a loaded number; a sound still playing from it plays on.
 * @return TKW_ERR_NULL_ARGUMENT; TKR_ERR_NO_SOUND (not loaded); TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixRelease(TkrMixHandle* mixer, uint32_t number);
/** No effect; kept for hosts that call it.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixSetWait(TkrMixHandle* mixer, int32_t value);
/** No effect; kept for hosts that call it.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixAssure(TkrMixHandle* mixer, int32_t value);
/** No effect; kept for hosts that call it.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixSetBlock(TkrMixHandle* mixer, int32_t first, int32_t second);
/** A new channel at volume 256, mixed after those opened before it.
 * @return TKW_ERR_NULL_ARGUMENT (*channel null when given), TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixChannelOpen(TkrMixHandle* mixer, TkrChannelHandle** channel);
/** Closes the mixer and its channels, then its index.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixClose(TkrMixHandle* mixer);
/** Closes the mixer and its channels and leaves its index open.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrMixClose2(TkrMixHandle* mixer);

/* ---- Mixer channels ------------------------------------------------------ */

/* Conditions of a channel. */
#define TKR_CHANNEL_PLAYING 0 /* the sound taken when the channel was idle has not reached its end time */
#define TKR_CHANNEL_IDLE 1    /* that end time has passed, or nothing was played */
#define TKR_CHANNEL_QUEUED 3  /* a sound waits to be taken by an idle channel */

/** One of the TKR_CHANNEL_ conditions.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrChannelGetCondition(TkrChannelHandle* channel, int32_t* condition);
/** Always 0, 0, 0.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrChannelGetPosition(TkrChannelHandle* channel, TkrPlayPosition* position);
/** Plays the number on the channel, replacing what it plays and holds. The
 * sound's rate must be the mixer's. event may be null; on success it receives
 * an event pulsed when the channel runs dry or is reset. On failure nothing
 * changes and *event is null.
 * @return TKW_ERR_NULL_ARGUMENT; TKR_ERR_NO_SOUND (no such number);
 * TKW_ERR_DEVICE_FORMAT (another rate); TKW_OK. */
TKW_API int32_t TKW_CALL tkrChannelStart(TkrChannelHandle* channel, uint32_t number, TkrEventHandle* event);
/** As tkrChannelStart, repeating the sound until the channel is reset.
 * @return as tkrChannelStart. */
TKW_API int32_t TKW_CALL tkrChannelLoop(TkrChannelHandle* channel, uint32_t number);
/** Queues the number behind the channel's queued sounds, but only while one
 * of them has not started yet (else nothing is queued and TKW_OK returned).
 * @return as tkrChannelStart. */
TKW_API int32_t TKW_CALL tkrChannelChain(TkrChannelHandle* channel, uint32_t number);
/** Silences the channel and discards its queue.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrChannelReset(TkrChannelHandle* channel);
/** Gain in 1/256 steps (256 unchanged, 128 half, negative inverts), from the
 * next mixed block on; the mix clips to 16 bits.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrChannelSetVolume(TkrChannelHandle* channel, int32_t volume);
/** Closes the channel.
 * @return TKW_ERR_NULL_ARGUMENT, TKW_OK. */
TKW_API int32_t TKW_CALL tkrChannelClose(TkrChannelHandle* channel);

#ifdef __cplusplus
}
#endif

#endif /* TKWDEC32_H */
