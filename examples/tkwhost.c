/*
 * A small host program of the tkwDec32 library:
 *   tkwhost SOUND.tkw                  decodes the sound and counts its frames
 *   tkwhost SOUND.tkw ARCHIVE.tkr N    also lists the archive's numbers and
 *                                      plays number N through the player
 * The player writes to the device TKW_AUDIO_DEVICE names (for example
 * record:out.wav:fast). Exit status 0 when every step worked.
 */
/* nanosleep */
#define _POSIX_C_SOURCE 200809L

#include <tkwDec32.h>

#include <stdio.h>
#include <stdlib.h>

#if defined(_WIN32)
#include <windows.h>
static void sleepMs(unsigned ms) { Sleep(ms); }
#else
#include <time.h>
static void sleepMs(unsigned ms) {
  struct timespec delay = {(time_t)(ms / 1000), (long)(ms % 1000) * 1000000L};
  nanosleep(&delay, NULL);
}
#endif

static int failed(const char* what, int32_t status) {
  fprintf(stderr, "tkwhost: %s: status %d\n", what, (int)status);
  return 1;
}

/* Reads the whole sound and checks that the frames add up to its length. */
static int decodeSound(const char* path) {
  TkwDecodeHandle* sound = NULL;
  int32_t status = tkwDecodeOpen(&sound, path, 0);
  if (status != TKW_OK) return failed("tkwDecodeOpen", status);

  uint32_t length = 0;
  TkwWaveFormat format;
  if ((status = tkwDecodeGetLength(sound, &length)) != TKW_OK ||
      (status = tkwDecodeGetFormat(sound, &format)) != TKW_OK) {
    tkwDecodeClose(sound);
    return failed("reading the sound's length and format", status);
  }
  enum { kFrames = 4096 };
  int16_t* buffer = malloc(sizeof(int16_t) * kFrames * format.channels);
  if (buffer == NULL) {
    tkwDecodeClose(sound);
    return failed("no memory", 0);
  }
  uint64_t frames = 0;
  do {
    uint32_t delivered = 0;
    status = tkwDecodeRead(sound, buffer, kFrames, &delivered);
    frames += delivered;
  } while (status == TKW_OK && frames < length);
  free(buffer);
  tkwDecodeClose(sound);
  if (status != TKW_OK && status != TKW_END_OF_SOUND) return failed("tkwDecodeRead", status);
  printf("%s: %u Hz, %u channels, %llu frames\n", path, (unsigned)format.samplesPerSec, (unsigned)format.channels,
         (unsigned long long)frames);
  if (frames != length) {
    fprintf(stderr, "tkwhost: decoded %llu frames of %u\n", (unsigned long long)frames, (unsigned)length);
    return 1;
  }
  return 0;
}

static int listNumbers(TkrDecodeHandle* index) {
  TkrIndexEnumerator* enumerator = NULL;
  int32_t status = tkrDecodeFindIndex(index, &enumerator);
  if (status != TKW_OK) return failed("tkrDecodeFindIndex", status);
  uint32_t number = 0;
  printf("numbers:");
  while ((status = tkrDecodeGetIndex(index, enumerator, &number)) == TKW_OK)
    printf(" %u", (unsigned)number);
  printf("\n");
  tkrDecodeFindClose(index, enumerator);
  return status == TKR_ERR_NO_SOUND ? 0 : failed("tkrDecodeGetIndex", status);
}

/* Plays one number and waits, at most 30 seconds, until the player is idle. */
static int playNumber(TkrDecodeHandle* index, uint32_t number) {
  TkrPlayHandle* player = NULL;
  int32_t status = tkrPlayOpen(&player, index);
  if (status != TKW_OK) return failed("tkrPlayOpen", status);
  int result = 0;
  if ((status = tkrPlayStart(player, number, NULL)) != TKW_OK) {
    result = failed("tkrPlayStart", status);
  } else {
    int32_t condition = TKR_PLAY_STARTING;
    for (int waited = 0; waited < 30000; waited += 20) {
      if ((status = tkrPlayGetCondition(player, &condition)) != TKW_OK || condition == TKR_PLAY_IDLE) break;
      sleepMs(20);
    }
    if (status != TKW_OK)
      result = failed("tkrPlayGetCondition", status);
    else if (condition != TKR_PLAY_IDLE)
      result = failed("the sound did not end", condition);
    else
      printf("played %u\n", (unsigned)number);
  }
  /* Leaves the index to its owner. */
  tkrPlayClose2(player);
  return result;
}

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    fprintf(stderr, "usage: tkwhost SOUND.tkw [ARCHIVE.tkr NUMBER]\n");
    return 2;
  }
  printf("tkwDec32 %s\n", TKW_VERSION);
  if (decodeSound(argv[1]) != 0) return 1;
  if (argc == 2) return 0;

  TkrDecodeHandle* index = NULL;
  int32_t status = tkrDecodeOpen(&index, argv[2], NULL);
  if (status != TKW_OK) return failed("tkrDecodeOpen", status);
  int result = listNumbers(index);
  if (result == 0) result = playNumber(index, (uint32_t)strtoul(argv[3], NULL, 10));
  tkrDecodeClose(index);
  return result;
}
