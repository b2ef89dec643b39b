// tkwplay: plays numbered sounds of an archive, a list file or a single .tkw
// file through the library's player (one after another) or its mixer (all at
// once, each at its own volume). The device is the process's wave-out device:
// the sound card, or what TKW_AUDIO_DEVICE names (silent, record:<file.wav>).
#include "cli/ExitStatus.h"
#include "cli/OptionParser.h"
#include "cli/Reporter.h"
#include "platform/Console.h"
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

constexpr const char* kSummary =
    "Plays numbered sounds one after another through a player, or with --mix all at once through a mixer, "
    "each at its volume (256 = unchanged, 128 = half, negative inverts). SOURCE is an archive (.tkr), a list "
    "file or a single .tkw file (number 1). Without numbers every sound of the source plays.";
constexpr const char* kNotes = "The device is the sound card unless TKW_AUDIO_DEVICE names another:\n"
                               "  silent, record:FILE.wav or record:FILE.wav:fast (faster than real time;\n"
                               "  meant for the player: a mixer makes sound without a pause).\n"
                               "Ctrl-C stops the sound.";

bool ParseNumber(const char* text, long long low, long long high, long long& value) {
  char* end = nullptr;
  value = std::strtoll(text, &end, 10);
  return end != text && *end == '\0' && value >= low && value <= high;
}

bool ParseRequest(const std::string& text, Request& request) {
  const std::size_t colon = text.find(':');
  long long number = 0, volume = 256;
  const std::string numberText = text.substr(0, colon);
  if (numberText.empty() || !std::isdigit(static_cast<unsigned char>(numberText[0])) ||
      !ParseNumber(numberText.c_str(), 0, 0xFFFFFFFFll, number))
    return false;
  if (colon != std::string::npos && !ParseNumber(text.substr(colon + 1).c_str(), -65536, 65536, volume)) return false;
  request.number = static_cast<std::uint32_t>(number);
  request.volume = static_cast<std::int32_t>(volume);
  return true;
}

void AddOptions(cli::OptionParser& parser, Options& options) {
  parser.Text('p', "password", "TEXT", "the archive's password", options.password)
      .Switch(0, "mix", "play the numbers at once on the channels of a mixer", options.mix)
      .Value(
          0, "rate", "HZ", "the mixer's rate, 1000 to 192000",
          [&options](const std::string& value) -> std::string {
            long long rate = 0;
            if (!ParseNumber(value.c_str(), 1000, 192000, rate))
              return "'" + value + "' is not a rate from 1000 to 192000";
            options.rate = static_cast<std::uint32_t>(rate);
            return {};
          },
          "the first sound's")
      .Switch(0, "mono", "a mixer with one output channel", options.mono)
      .Switch(0, "list", "print the numbers of the source and stop", options.list);
  parser.SetNotes(kNotes);
  parser.SetExitStatuses({{0, "every sound was played"},
                          {1, "some source or sound failed (named on standard error with the reason)"},
                          {2, "the command line cannot be used"},
                          {130, "stopped by Ctrl-C"}});
}

std::string SortOperands(const std::vector<std::string>& operands, Options& options) {
  if (operands.empty()) return "no source given";
  options.source = operands.front();
  for (std::size_t i = 1; i < operands.size(); ++i) {
    Request request;
    if (!ParseRequest(operands[i], request)) return "'" + operands[i] + "' is not NUMBER[:VOLUME]";
    options.requests.push_back(request);
  }
  return {};
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

TkrDecodeHandle* OpenSource(const Options& options, bool& singleFile, cli::Reporter& reporter) {
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
    reporter.Error(options.source, StatusText(status));
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

int Play(TkrDecodeHandle* index, const std::vector<Request>& requests, cli::Reporter& reporter) {
  TkrPlayHandle* player = nullptr;
  if (const std::int32_t status = tkrPlayOpen(&player, index); status != TKW_OK) {
    reporter.Error("player", StatusText(status));
    return cli::kExitFileFailed;
  }
  int failures = 0;
  bool first = true;
  for (const Request& request : requests) {
    const std::int32_t status =
        first ? tkrPlayStart(player, request.number, nullptr) : tkrPlayChain(player, request.number);
    if (status != TKW_OK) {
      reporter.Error("sound " + std::to_string(request.number), StatusText(status));
      ++failures;
      continue;
    }
    first = false;
    reporter.Info("queued sound " + std::to_string(request.number));
  }
  std::int32_t condition = TKR_PLAY_STARTING;
  std::uint32_t lastLength = 0;
  bool stopped = false;
  while (!first && tkrPlayGetCondition(player, &condition) == TKW_OK && condition != TKR_PLAY_IDLE &&
         condition != TKR_PLAY_NO_DEVICE) {
    if (plat::interruptRequested()) {
      tkrPlayReset(player);
      stopped = true;
      break;
    }
    TkrPlayPosition position{};
    tkrPlayGetPosition(player, &position);
    if (condition == TKR_PLAY_STREAMING && position.lengthMs != lastLength) {
      reporter.Info("playing: " + std::to_string(position.lengthMs) + " ms");
      lastLength = position.lengthMs;
    }
    Sleep(20);
  }
  tkrPlayClose2(player);
  if (stopped) return cli::kExitStopped;
  // A player without a device ends at once: nothing was heard.
  if (condition == TKR_PLAY_NO_DEVICE) {
    reporter.Error("player", StatusText(TKW_ERR_DEVICE_BUSY));
    return cli::kExitFileFailed;
  }
  return failures ? cli::kExitFileFailed : cli::kExitSuccess;
}

int Mix(TkrDecodeHandle* index, const Options& options, const std::vector<Request>& requests, cli::Reporter& reporter) {
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
    reporter.Error("mixer", StatusText(status));
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
      reporter.Error("sound " + std::to_string(request.number), StatusText(status));
      ++failures;
      tkrChannelClose(channel);
      continue;
    }
    reporter.Info("channel " + std::to_string(channels.size()) + ": sound " + std::to_string(request.number) +
                  " at volume " + std::to_string(request.volume));
    channels.push_back(channel);
  }
  // Channels report the end of their sound by the clock; the last blocks
  // still queued on the device play out in the margin.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(longestMs + 5000);
  bool stopped = false;
  for (bool playing = !channels.empty(); playing && std::chrono::steady_clock::now() < deadline;) {
    Sleep(20);
    if (plat::interruptRequested()) {
      tkrMixReset(mixer);
      stopped = true;
      break;
    }
    playing = false;
    for (TkrChannelHandle* channel : channels) {
      std::int32_t condition = TKR_CHANNEL_IDLE;
      tkrChannelGetCondition(channel, &condition);
      playing = playing || condition != TKR_CHANNEL_IDLE;
    }
  }
  if (!stopped) Sleep(400);
  tkrMixClose2(mixer);
  if (stopped) return cli::kExitStopped;
  return failures ? cli::kExitFileFailed : cli::kExitSuccess;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  cli::OptionParser parser("tkwplay", "[options] SOURCE [NUMBER[:VOLUME]...]", kSummary);
  AddOptions(parser, options);
  const auto parsed = parser.Parse(argc, argv);
  if (parsed != cli::OptionParser::Result::Run) return parser.Finish(parsed);
  if (const std::string problem = SortOperands(parser.Operands(), options); !problem.empty())
    return parser.UsageError(problem);
  cli::Reporter reporter("tkwplay");
  reporter.SetVerbosity(parser.verbosity());
  bool singleFile = false;
  TkrDecodeHandle* index = OpenSource(options, singleFile, reporter);
  if (!index) return cli::kExitFileFailed;
  if (options.list) {
    for (std::uint32_t number : AllNumbers(index, singleFile))
      std::printf("%u\n", number);
    tkrDecodeClose(index);
    return cli::kExitSuccess;
  }
  std::vector<Request> requests = options.requests;
  if (requests.empty())
    for (std::uint32_t number : AllNumbers(index, singleFile))
      requests.push_back(Request{number, 256});
  if (requests.empty()) {
    reporter.Error(options.source, "holds no sounds");
    tkrDecodeClose(index);
    return cli::kExitFileFailed;
  }
  plat::installInterruptHandler();
  const int result = options.mix ? Mix(index, options, requests, reporter) : Play(index, requests, reporter);
  tkrDecodeClose(index);
  return result;
}
