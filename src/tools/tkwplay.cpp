// tkwplay: plays numbered sounds of an archive, a list file or a single .tkw
// file through the library's player (one after another) or its mixer (all at
// once, each at its own volume). The device is the process's wave-out device:
// the sound card, or what TKW_AUDIO_DEVICE names (silent, record:<file.wav>).
#include "tkwDec32.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Request {
  std::uint32_t number = 0;
  std::int32_t volume = 256;
};

struct Options {
  std::string source;
  std::string password;
  bool mix = false;
  bool mono = false;
  bool list = false;
  std::uint32_t rate = 0;
  std::vector<Request> requests;
};

void Usage(std::FILE* to) {
  std::fprintf(to, "usage: tkwplay [options] <archive.tkr | list.txt | sound.tkw> [number[:volume] ...]\n"
                   "Plays numbered sounds one after another through a player, or with --mix all at once\n"
                   "through a mixer, each at its volume (256 = unchanged, 128 = half, negative inverts).\n"
                   "Without numbers every sound of the source plays (a single .tkw file is number 1).\n"
                   "  --mix             play the numbers at once on the channels of a mixer\n"
                   "  --rate <hz>       the mixer's rate (default: the first sound's)\n"
                   "  --mono            a mixer with one output channel\n"
                   "  --password <pw>   the archive's password\n"
                   "  --list            print the numbers of the source and stop\n"
                   "  --help            this text\n"
                   "The device is the sound card unless TKW_AUDIO_DEVICE names another:\n"
                   "  silent, record:<file.wav> or record:<file.wav>:fast (faster than real time;\n"
                   "  meant for the player: a mixer makes sound without a pause).\n");
}

bool ParseNumber(const char* text, long long low, long long high, long long& value) {
  char* end = nullptr;
  value = std::strtoll(text, &end, 10);
  return end != text && *end == '\0' && value >= low && value <= high;
}

bool ParseRequest(const std::string& text, Request& request) {
  const std::size_t colon = text.find(':');
  long long number = 0, volume = 256;
  if (!ParseNumber(text.substr(0, colon).c_str(), 0, 0xFFFFFFFFll, number)) return false;
  if (colon != std::string::npos && !ParseNumber(text.substr(colon + 1).c_str(), -65536, 65536, volume)) return false;
  request.number = static_cast<std::uint32_t>(number);
  request.volume = static_cast<std::int32_t>(volume);
  return true;
}

// 0 to go on, else the exit status.
int ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      Usage(stdout);
      return -1;
    } else if (arg == "--mix") {
      options.mix = true;
    } else if (arg == "--mono") {
      options.mono = true;
    } else if (arg == "--list") {
      options.list = true;
    } else if ((arg == "--password" || arg == "--rate") && i + 1 < argc) {
      const char* value = argv[++i];
      long long rate = 0;
      if (arg == "--password") {
        options.password = value;
      } else if (ParseNumber(value, 1000, 192000, rate)) {
        options.rate = static_cast<std::uint32_t>(rate);
      } else {
        std::fprintf(stderr, "tkwplay: --rate wants a rate from 1000 to 192000\n");
        return 2;
      }
    } else if (!arg.empty() && arg[0] == '-' && arg.size() > 1 && !std::isdigit(static_cast<unsigned char>(arg[1]))) {
      std::fprintf(stderr, "tkwplay: unknown option %s\n", arg.c_str());
      Usage(stderr);
      return 2;
    } else if (options.source.empty()) {
      options.source = arg;
    } else {
      Request request;
      if (!ParseRequest(arg, request)) {
        std::fprintf(stderr, "tkwplay: %s is not number[:volume]\n", arg.c_str());
        return 2;
      }
      options.requests.push_back(request);
    }
  }
  if (options.source.empty()) {
    Usage(stderr);
    return 2;
  }
  return 0;
}

bool EndsWith(const std::string& text, const char* suffix) {
  const std::size_t n = std::strlen(suffix);
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) != suffix[i]) return false;
  return true;
}

const char* StatusText(std::int32_t status) {
  switch (status) {
  case TKW_ERR_FILE_NOT_FOUND: return "no such file";
  case TKW_ERR_BAD_FORMAT: return "not a valid file";
  case TKR_ERR_NO_SOUND: return "no such sound number";
  case TKR_ERR_OVERLAP: return "a number is used twice";
  case TKR_ERR_BAD_PASSWORD: return "wrong password";
  case TKW_ERR_DEVICE_BUSY: return "the sound device is busy or missing";
  case TKW_ERR_DEVICE_FORMAT: return "the sound device cannot play this format";
  case TKW_ERR_PATH_TOO_LONG: return "path too long";
  default: return "failed";
  }
}

TkrDecodeHandle* OpenSource(const Options& options, bool& singleFile) {
  TkrDecodeHandle* index = nullptr;
  std::int32_t status;
  singleFile = false;
  if (EndsWith(options.source, ".tkr")) {
    status = tkrDecodeOpenPass(&index, options.source.c_str(), options.password.c_str(), nullptr);
  } else {
    status = tkrDecodeOpenNaked(&index);
    if (status == TKW_OK && EndsWith(options.source, ".tkw")) {
      singleFile = true;
      status = tkrDecodeAddTkw(index, options.source.c_str(), 1);
    } else if (status == TKW_OK) {
      TkrSoundSetId list = nullptr;
      status = tkrDecodeAddList(index, options.source.c_str(), &list);
      if (status == TKW_OK && list == nullptr) status = TKW_ERR_BAD_FORMAT;
    }
  }
  if (status != TKW_OK) {
    std::fprintf(stderr, "tkwplay: %s: %s\n", options.source.c_str(), StatusText(status));
    if (index) tkrDecodeClose(index);
    return nullptr;
  }
  return index;
}

std::vector<std::uint32_t> AllNumbers(TkrDecodeHandle* index, bool singleFile) {
  if (singleFile) return {1};
  std::vector<std::uint32_t> numbers;
  TkrIndexEnumerator* enumerator = nullptr;
  if (tkrDecodeFindIndex(index, &enumerator) != TKW_OK) return numbers;
  std::uint32_t number = 0;
  while (tkrDecodeGetIndex(index, enumerator, &number) == TKW_OK)
    numbers.push_back(number);
  tkrDecodeFindClose(index, enumerator);
  return numbers;
}

bool SoundFormat(TkrDecodeHandle* index, std::uint32_t number, TkwWaveFormat& format, std::uint32_t& frames) {
  TkwDecodeHandle* sound = nullptr;
  if (tkrDecodeTkwOpen(index, &sound, number, 0) != TKW_OK || sound == nullptr) return false;
  const bool ok = tkwDecodeGetFormat(sound, &format) == TKW_OK && tkwDecodeGetLength(sound, &frames) == TKW_OK;
  tkwDecodeClose(sound);
  return ok;
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int Play(TkrDecodeHandle* index, const std::vector<Request>& requests) {
  TkrPlayHandle* player = nullptr;
  if (tkrPlayOpen(&player, index) != TKW_OK) return 1;
  int failures = 0;
  bool first = true;
  for (const Request& request : requests) {
    const std::int32_t status =
        first ? tkrPlayStart(player, request.number, nullptr) : tkrPlayChain(player, request.number);
    if (status != TKW_OK) {
      std::fprintf(stderr, "tkwplay: sound %u: %s\n", request.number, StatusText(status));
      ++failures;
      continue;
    }
    first = false;
    std::printf("queued sound %u\n", request.number);
  }
  std::int32_t condition = TKR_PLAY_STARTING;
  std::uint32_t lastLength = 0;
  while (!first && tkrPlayGetCondition(player, &condition) == TKW_OK && condition != TKR_PLAY_IDLE &&
         condition != TKR_PLAY_NO_DEVICE) {
    PlayPosition position{};
    tkrPlayGetPosition(player, &position);
    if (condition == TKR_PLAY_STREAMING && position.lengthMs != lastLength) {
      std::printf("playing: %u ms\n", position.lengthMs);
      lastLength = position.lengthMs;
    }
    Sleep(20);
  }
  tkrPlayClose2(player);
  return failures ? 1 : 0;
}

int Mix(TkrDecodeHandle* index, const Options& options, const std::vector<Request>& requests) {
  std::uint32_t rate = options.rate;
  std::uint32_t longestMs = 0;
  for (const Request& request : requests) {
    TkwWaveFormat format{};
    std::uint32_t frames = 0;
    if (!SoundFormat(index, request.number, format, frames)) continue;
    if (rate == 0) rate = format.samplesPerSec;
    if (format.samplesPerSec == rate)
      longestMs = std::max<std::uint32_t>(longestMs, static_cast<std::uint32_t>(frames * 1000.0 / rate));
  }
  TkrMixHandle* mixer = nullptr;
  const std::uint32_t word = (rate ? rate : 22050) | (options.mono ? TKR_MIX_MONO : 0);
  std::int32_t status = tkrMixOpen(&mixer, index, word);
  if (status != TKW_OK) {
    std::fprintf(stderr, "tkwplay: mixer: %s\n", StatusText(status));
    return 1;
  }
  int failures = 0;
  std::vector<TkrChannelHandle*> channels;
  for (const Request& request : requests) {
    TkrChannelHandle* channel = nullptr;
    tkrMixChannelOpen(mixer, &channel);
    tkrChannelSetVolume(channel, request.volume);
    status = tkrChannelStart(channel, request.number, nullptr);
    if (status != TKW_OK) {
      std::fprintf(stderr, "tkwplay: sound %u: %s\n", request.number, StatusText(status));
      ++failures;
      tkrChannelClose(channel);
      continue;
    }
    std::printf("channel %zu: sound %u at volume %d\n", channels.size(), request.number, request.volume);
    channels.push_back(channel);
  }
  // Channels report the end of their sound by the clock; the last blocks
  // still queued on the device play out in the margin.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(longestMs + 5000);
  for (bool playing = !channels.empty(); playing && std::chrono::steady_clock::now() < deadline;) {
    Sleep(20);
    playing = false;
    for (TkrChannelHandle* channel : channels) {
      std::int32_t condition = TKR_CHANNEL_IDLE;
      tkrChannelGetCondition(channel, &condition);
      playing = playing || condition != TKR_CHANNEL_IDLE;
    }
  }
  Sleep(400);
  tkrMixClose2(mixer);
  return failures ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int stop = ParseArguments(argc, argv, options)) return stop < 0 ? 0 : stop;
  bool singleFile = false;
  TkrDecodeHandle* index = OpenSource(options, singleFile);
  if (!index) return 1;
  if (options.list) {
    for (std::uint32_t number : AllNumbers(index, singleFile))
      std::printf("%u\n", number);
    tkrDecodeClose(index);
    return 0;
  }
  std::vector<Request> requests = options.requests;
  if (requests.empty())
    for (std::uint32_t number : AllNumbers(index, singleFile))
      requests.push_back(Request{number, 256});
  if (requests.empty()) {
    std::fprintf(stderr, "tkwplay: %s holds no sounds\n", options.source.c_str());
    tkrDecodeClose(index);
    return 1;
  }
  const int result = options.mix ? Mix(index, options, requests) : Play(index, requests);
  tkrDecodeClose(index);
  return result;
}
