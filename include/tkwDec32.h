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

/* Opens a .tkw file. Statuses: 1, 2 (no such file, or it exists but cannot be
 * opened: no file handle left, no access), 3 (not a sound; also a folder,
 * device or pipe, which is refused without waiting), 11 (the handle is null),
 * 0. */
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
 * null. Each read opens the sound's file again by its path: when that fails
 * the status is 2, nothing is read (the buffer is silence, *delivered and the
 * position stay as they were) and the "Debug" message box is shown. */
TKW_API int32_t TKW_CALL tkwDecodeRead(TkwDecodeHandle* handle, int16_t* buffer, uint32_t frames, uint32_t* delivered);
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
 * archive without one; archive may be null. Statuses: 1, 2 (no such file, or
 * it cannot be opened now), 3 (not an archive, or damaged), 8 (wrong
 * password), 11, 0; on failure both outs are null. */
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
 * Statuses: 1, 2 (no such list, it cannot be read, or a file it names cannot
 * be opened now), 7, 11, 0. A bad line (also any entry past the 65535th, as
 * in the archive converter) is shown in a message box; the list then adds
 * nothing, the call returns 0 and *list is null. */
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
TKW_API int32_t TKW_CALL tkrDecodeGetIndex(TkrDecodeHandle* handle, TkrIndexEnumerator* enumerator, uint32_t* number);
TKW_API int32_t TKW_CALL tkrDecodeFindClose(TkrDecodeHandle* handle, TkrIndexEnumerator* enumerator);
/* Closes the index with all its archives and lists. */
TKW_API int32_t TKW_CALL tkrDecodeClose(TkrDecodeHandle* handle);

/* ---- Player -------------------------------------------------------------- */

/* Plays the sounds of one index one after another, each in its own format. */
typedef struct TkrPlayHandle TkrPlayHandle;

/* An event owned by a player or channel: a Windows event handle on Windows
 * (wait on it, never close it); elsewhere an opaque token. */
typedef void* TkrEventHandle;

/* Where a player is. position is always 0; lengthMs is the current sound's
 * length; elapsedMs counts from its start and goes on after its end. */
typedef struct PlayPosition {
  int32_t position;
  uint32_t lengthMs;
  uint32_t elapsedMs;
} PlayPosition;

/* Conditions of a player. */
#define TKR_PLAY_STREAMING 0 /* a sound plays */
#define TKR_PLAY_IDLE 1      /* nothing plays or waits, and the device can be opened */
#define TKR_PLAY_NO_DEVICE 2 /* nothing plays or waits, and the device cannot be opened */
#define TKR_PLAY_STARTING 3  /* a sound is about to play */

/* Opens a player on an index, which the player uses until it is closed.
 * Statuses: 1 (*player is null), 0. */
TKW_API int32_t TKW_CALL tkrPlayOpen(TkrPlayHandle** player, TkrDecodeHandle* index);
/* The player's index. */
TKW_API int32_t TKW_CALL tkrPlayGetTkr(TkrPlayHandle* player, TkrDecodeHandle** index);
/* One of the TKR_PLAY_ conditions. */
TKW_API int32_t TKW_CALL tkrPlayGetCondition(TkrPlayHandle* player, int32_t* condition);
TKW_API int32_t TKW_CALL tkrPlayGetPosition(TkrPlayHandle* player, PlayPosition* position);
/* Plays the number now, cutting off what plays and what waits. event may be
 * null; on success it receives an event set when an idle player wakes and
 * reset when a sound ends. Statuses: 1, 6 (no such number), 9 (the device is
 * held elsewhere; checked only while idle), 10 (the device cannot play the
 * sound's format), 0; on failure nothing stops and *event is null. */
TKW_API int32_t TKW_CALL tkrPlayStart(TkrPlayHandle* player, uint32_t number, TkrEventHandle* event);
/* As tkrPlayStart, repeating the sound until it is stopped. */
TKW_API int32_t TKW_CALL tkrPlayLoop(TkrPlayHandle* player, uint32_t number);
/* Plays the number after the sounds already waiting. Statuses as tkrPlayStart. */
TKW_API int32_t TKW_CALL tkrPlayChain(TkrPlayHandle* player, uint32_t number);
/* Stops playback and discards the waiting sounds. */
TKW_API int32_t TKW_CALL tkrPlayReset(TkrPlayHandle* player);
/* Decodes the number into the player's memory (flags as for tkwDecodeOpen),
 * so that it plays without decoding. Statuses: 1, 6 (no such number, already
 * loaded, a file that declares more frames than its data holds, a sound that
 * cannot be read, no memory, or the player's preloaded sounds would take
 * more than the cache limit), 0; on 6 nothing is loaded. The limit is
 * MaxCacheMB in section [Tkw_SoundCache] of TkwDec32.ini in the current
 * directory, in megabytes (default 256), read at each tkrPlayOpen. */
TKW_API int32_t TKW_CALL tkrPlayLoad(TkrPlayHandle* player, uint32_t number, uint32_t flags);
/* Frees a loaded number; a sound still playing from it plays on. Statuses: 1,
 * 6 (not loaded), 0. */
TKW_API int32_t TKW_CALL tkrPlayRelease(TkrPlayHandle* player, uint32_t number);
/* Stops and closes the player, then closes its index. */
TKW_API int32_t TKW_CALL tkrPlayClose(TkrPlayHandle* player);
/* Stops and closes the player and leaves its index open. */
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

/* Opens a mixer on an index and starts it. Statuses: 1 (*mixer untouched), 9
 * (the device is held elsewhere or cannot be opened), 10 (the device cannot
 * play the format), 0; on 9 and 10 *mixer is null. */
TKW_API int32_t TKW_CALL tkrMixOpen(TkrMixHandle** mixer, TkrDecodeHandle* index, uint32_t format);
/* The mixer's index. */
TKW_API int32_t TKW_CALL tkrMixGetTkr(TkrMixHandle* mixer, TkrDecodeHandle** index);
/* Silences every channel; the mixer plays on. */
TKW_API int32_t TKW_CALL tkrMixReset(TkrMixHandle* mixer);
/* Decodes the number into the mixer's memory, replacing an earlier load; the
 * flags are not used. Statuses: 1, 6 (no such number, a file that declares
 * more frames than its data holds, a sound that cannot be read, no memory,
 * or the mixer's preloaded sounds would take more than the cache limit), 0;
 * on 6 nothing changes. The limit is as for tkrPlayLoad (MaxCacheMB in
 * [Tkw_SoundCache] of TkwDec32.ini, default 256), read at each tkrMixOpen. */
TKW_API int32_t TKW_CALL tkrMixLoad(TkrMixHandle* mixer, uint32_t number, uint32_t flags);
/* Frees a loaded number; a sound still playing from it plays on. Statuses: 1,
 * 6 (not loaded), 0. */
TKW_API int32_t TKW_CALL tkrMixRelease(TkrMixHandle* mixer, uint32_t number);
/* No effect; kept for hosts that call them. Statuses: 1, 0. */
TKW_API int32_t TKW_CALL tkrMixSetWait(TkrMixHandle* mixer, int32_t value);
TKW_API int32_t TKW_CALL tkrMixAssure(TkrMixHandle* mixer, int32_t value);
TKW_API int32_t TKW_CALL tkrMixSetBlock(TkrMixHandle* mixer, int32_t first, int32_t second);
/* A new channel at volume 256, mixed after those opened before it. Statuses:
 * 1 (*channel null when given), 0. */
TKW_API int32_t TKW_CALL tkrMixChannelOpen(TkrMixHandle* mixer, TkrChannelHandle** channel);
/* Closes the mixer and its channels, then its index. */
TKW_API int32_t TKW_CALL tkrMixClose(TkrMixHandle* mixer);
/* Closes the mixer and its channels and leaves its index open. */
TKW_API int32_t TKW_CALL tkrMixClose2(TkrMixHandle* mixer);

/* ---- Mixer channels ------------------------------------------------------ */

/* Conditions of a channel. */
#define TKR_CHANNEL_PLAYING 0 /* the sound taken when the channel was idle has not reached its end time */
#define TKR_CHANNEL_IDLE 1    /* that end time has passed, or nothing was played */
#define TKR_CHANNEL_QUEUED 3  /* a sound waits to be taken by an idle channel */

/* One of the TKR_CHANNEL_ conditions. */
TKW_API int32_t TKW_CALL tkrChannelGetCondition(TkrChannelHandle* channel, int32_t* condition);
/* Always 0, 0, 0. */
TKW_API int32_t TKW_CALL tkrChannelGetPosition(TkrChannelHandle* channel, PlayPosition* position);
/* Plays the number on the channel, replacing what it plays and holds. The
 * sound's rate must be the mixer's. event may be null; on success it receives
 * an event pulsed when the channel runs dry or is reset. Statuses: 1, 6 (no
 * such number), 10 (another rate), 0; on 6 and 10 nothing changes and *event
 * is null. */
TKW_API int32_t TKW_CALL tkrChannelStart(TkrChannelHandle* channel, uint32_t number, TkrEventHandle* event);
/* As tkrChannelStart, repeating the sound until the channel is reset. */
TKW_API int32_t TKW_CALL tkrChannelLoop(TkrChannelHandle* channel, uint32_t number);
/* Queues the number behind the channel's queued sounds, but only while one of
 * them has not started yet (else nothing is queued and 0 returned). */
TKW_API int32_t TKW_CALL tkrChannelChain(TkrChannelHandle* channel, uint32_t number);
/* Silences the channel and discards its queue. */
TKW_API int32_t TKW_CALL tkrChannelReset(TkrChannelHandle* channel);
/* Gain in 1/256 steps (256 unchanged, 128 half, negative inverts), from the
 * next mixed block on; the mix clips to 16 bits. */
TKW_API int32_t TKW_CALL tkrChannelSetVolume(TkrChannelHandle* channel, int32_t volume);
TKW_API int32_t TKW_CALL tkrChannelClose(TkrChannelHandle* channel);

#ifdef __cplusplus
}
#endif

#endif /* TKWDEC32_H */
