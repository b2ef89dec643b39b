// tkwdec: decodes a sound to a 16-bit PCM wave file through the library's
// public interface.
//
//   tkwdec [--stream] [--compare original.wav] input.tkw output.wav
//   tkwdec [--stream] [--password P] archive.tkr --number N output.wav
//   tkwdec [--stream] [--password P] archive.tkr --all output-folder
//   tkwdec [--password P] archive.tkr --list
//
// The steps are kept apart so that other inputs and checks can join them:
// options, opening a decode handle, and a decode loop that hands every block
// of frames to the consumers (the wave writer).
#include "WavWriter.h"
#include "WaveComparison.h"
#include "platform/Files.h"
#include "tkwDec32.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Options {
  bool stream = false; // decode on demand instead of a sector at a time
  std::string compare; // the original wave file, when given
  // Archive input: one numbered sound, every sound, or the numbers only.
  std::optional<uint32_t> number;
  bool all = false;
  bool list = false;
  std::optional<std::string> password;
  std::string input;
  std::string output;
};

void PrintUsage() {
  std::printf("usage: tkwdec [--stream] [--compare original.wav] input.tkw output.wav\n"
              "       tkwdec [--stream] [--password P] archive.tkr --number N output.wav\n"
              "       tkwdec [--stream] [--password P] archive.tkr --all output-folder\n"
              "       tkwdec [--password P] archive.tkr --list\n"
              "  Decodes a .tkw sound, or sounds of a .tkr archive, to 16-bit PCM wave files.\n"
              "  --number   decode the archive's sound of that number\n"
              "  --all      decode every sound of the archive to <folder>/<number>.wav\n"
              "  --list     print the archive's sound numbers in enumeration order\n"
              "  --password the archive's password\n"
              "  --stream   decode on demand instead of a sector at a time\n"
              "  --compare  also compare with the original: SNR, largest sample error,\n"
              "             compression ratio\n");
}

enum class Parsed { Run, Help, Error };

Parsed ParseArguments(int argc, char** argv, Options& options) {
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--stream") {
      options.stream = true;
    } else if (arg == "--compare" && i + 1 < argc) {
      options.compare = argv[++i];
    } else if (arg == "--number" && i + 1 < argc) {
      char* end = nullptr;
      const std::string text = argv[++i];
      const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || value > 0xFFFFFFFFull) {
        std::fprintf(stderr, "tkwdec: %s is not a sound number\n", text.c_str());
        return Parsed::Error;
      }
      options.number = static_cast<uint32_t>(value);
    } else if (arg == "--all") {
      options.all = true;
    } else if (arg == "--list") {
      options.list = true;
    } else if (arg == "--password" && i + 1 < argc) {
      options.password = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      return Parsed::Help;
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "tkwdec: unknown option %s\n", arg.c_str());
      return Parsed::Error;
    } else {
      positional.push_back(arg);
    }
  }
  const int archiveModes = (options.number ? 1 : 0) + (options.all ? 1 : 0) + (options.list ? 1 : 0);
  if (archiveModes > 1 || (archiveModes == 1 && !options.compare.empty())) return Parsed::Error;
  if (positional.size() != (options.list ? 1u : 2u)) return Parsed::Error;
  options.input = positional[0];
  if (!options.list) options.output = positional[1];
  return Parsed::Run;
}

const char* StatusText(int32_t status) {
  switch (status) {
  case TKW_ERR_NULL_ARGUMENT: return "missing argument";
  case TKW_ERR_FILE_NOT_FOUND: return "no such file";
  case TKW_ERR_BAD_FORMAT: return "not a valid .tkw file";
  case TKW_ERR_PATH_TOO_LONG: return "path too long";
  case TKR_ERR_NO_SOUND: return "no sound of that number";
  case TKR_ERR_BAD_PASSWORD: return "wrong password";
  default: return "failed";
  }
}

struct SoundInfo {
  uint32_t length = 0;
  TkwWaveFormat format{};
  int32_t sectors = 0;
};

SoundInfo Describe(TkwDecodeHandle* handle) {
  SoundInfo info;
  tkwDecodeGetLength(handle, &info.length);
  tkwDecodeGetFormat(handle, &info.format);
  tkwDecodeGetNumSector(handle, &info.sectors);
  std::printf("length: %u frames (%.3f s), rate: %u Hz, channels: %u, sectors: %d\n", info.length,
              info.format.samplesPerSec ? static_cast<double>(info.length) / info.format.samplesPerSec : 0.0,
              info.format.samplesPerSec, info.format.channels, info.sectors);
  return info;
}

using FrameConsumer = std::function<bool(const int16_t* samples, uint32_t frames)>;

// Reads the whole sound once, in blocks, and hands each block to the consumer.
bool DecodeAll(TkwDecodeHandle* handle, const SoundInfo& info, const FrameConsumer& consume) {
  constexpr uint32_t kBlockFrames = 16384;
  std::vector<int16_t> block(std::size_t{kBlockFrames} * info.format.channels);
  uint32_t left = info.length;
  while (left > 0) {
    const uint32_t want = left < kBlockFrames ? left : kBlockFrames;
    uint32_t got = 0;
    const int32_t status = tkwDecodeRead(handle, block.data(), want, &got);
    if ((status != TKW_OK && status != TKW_END_OF_SOUND) || got != want) {
      std::fprintf(stderr, "tkwdec: read failed (status %d)\n", status);
      return false;
    }
    if (!consume(block.data(), got)) return false;
    left -= got;
  }
  return true;
}

int Run(const Options& options) {
  TkwDecodeHandle* handle = nullptr;
  const int32_t status = tkwDecodeOpen(&handle, options.input.c_str(), options.stream ? TKW_OPEN_STREAM : 0);
  if (status != TKW_OK) {
    std::fprintf(stderr, "tkwdec: %s: %s (status %d)\n", options.input.c_str(), StatusText(status), status);
    return 2;
  }
  const SoundInfo info = Describe(handle);
  WavWriter wav(options.output, info.format.channels, info.format.samplesPerSec);
  if (!wav.IsOpen()) {
    std::fprintf(stderr, "tkwdec: cannot create %s\n", options.output.c_str());
    tkwDecodeClose(handle);
    return 3;
  }
  std::optional<WaveComparison> comparison;
  if (!options.compare.empty()) {
    comparison.emplace();
    if (!comparison->Open(options.compare, info.format.channels, info.length)) {
      std::fprintf(stderr, "tkwdec: %s: %s\n", options.compare.c_str(), comparison->error().c_str());
      tkwDecodeClose(handle);
      return 4;
    }
  }
  const auto start = std::chrono::steady_clock::now();
  const bool decoded = DecodeAll(handle, info, [&wav, &comparison](const int16_t* samples, uint32_t frames) {
    if (comparison && !comparison->Compare(samples, frames)) {
      std::fprintf(stderr, "tkwdec: %s\n", comparison->error().c_str());
      return false;
    }
    if (wav.Write(samples, frames)) return true;
    std::fprintf(stderr, "tkwdec: writing the wave file failed\n");
    return false;
  });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  tkwDecodeClose(handle);
  if (!decoded) return 3;
  if (!wav.Finish()) {
    std::fprintf(stderr, "tkwdec: cannot complete %s\n", options.output.c_str());
    return 3;
  }
  const double audio = info.format.samplesPerSec ? static_cast<double>(info.length) / info.format.samplesPerSec : 0;
  std::printf("decoded %u frames in %.3f s (%s mode, %.0fx real time) to %s\n", info.length, seconds,
              options.stream ? "on-demand" : "sector", seconds > 0 ? audio / seconds : 0.0, options.output.c_str());
  if (comparison) {
    std::FILE* tkw = std::fopen(options.input.c_str(), "rb");
    long tkwSize = -1;
    if (tkw && std::fseek(tkw, 0, SEEK_END) == 0) tkwSize = std::ftell(tkw);
    if (tkw) std::fclose(tkw);
    const double wavSize = static_cast<double>(comparison->WaveSize());
    std::printf("compared with %s: SNR %.2f dB, largest sample error %d, size %ld of %lld bytes (%.1f %%, %.2f:1)\n",
                options.compare.c_str(), comparison->SnrDb(), comparison->MaxError(), tkwSize,
                static_cast<long long>(comparison->WaveSize()), tkwSize > 0 ? tkwSize / wavSize * 100 : 0.0,
                tkwSize > 0 ? wavSize / tkwSize : 0.0);
  }
  return 0;
}

// Decodes one opened sound to a wave file; 0 on success.
int DecodeToWave(TkwDecodeHandle* handle, const std::string& output) {
  const SoundInfo info = Describe(handle);
  WavWriter wav(output, info.format.channels, info.format.samplesPerSec);
  if (!wav.IsOpen()) {
    std::fprintf(stderr, "tkwdec: cannot create %s\n", output.c_str());
    return 3;
  }
  const bool decoded = DecodeAll(handle, info, [&wav](const int16_t* samples, uint32_t frames) {
    if (wav.Write(samples, frames)) return true;
    std::fprintf(stderr, "tkwdec: writing the wave file failed\n");
    return false;
  });
  if (!decoded || !wav.Finish()) {
    std::fprintf(stderr, "tkwdec: cannot complete %s\n", output.c_str());
    return 3;
  }
  std::printf("decoded %u frames to %s\n", info.length, output.c_str());
  return 0;
}

int DecodeNumber(TkrDecodeHandle* index, uint32_t number, bool stream, const std::string& output) {
  TkwDecodeHandle* handle = nullptr;
  const int32_t status = tkrDecodeTkwOpen(index, &handle, number, stream ? TKW_OPEN_STREAM : 0);
  if (status != TKW_OK || handle == nullptr) {
    std::fprintf(stderr, "tkwdec: sound %u: %s (status %d)\n", number, StatusText(status), status);
    return 2;
  }
  const int result = DecodeToWave(handle, output);
  tkwDecodeClose(handle);
  return result;
}

// The archive's numbers in the index's enumeration order.
std::vector<uint32_t> ArchiveNumbers(TkrDecodeHandle* index) {
  std::vector<uint32_t> numbers;
  TkrIndexEnumerator* enumerator = nullptr;
  if (tkrDecodeFindIndex(index, &enumerator) != TKW_OK) return numbers;
  for (uint32_t number = 0; tkrDecodeGetIndex(index, enumerator, &number) == TKW_OK;)
    numbers.push_back(number);
  tkrDecodeFindClose(index, enumerator);
  return numbers;
}

int RunArchive(const Options& options) {
  TkrDecodeHandle* index = nullptr;
  const char* password = options.password ? options.password->c_str() : nullptr;
  const int32_t status = tkrDecodeOpenPass(&index, options.input.c_str(), password, nullptr);
  if (status != TKW_OK) {
    const char* text = status == TKW_ERR_BAD_FORMAT ? "not a valid .tkr archive" : StatusText(status);
    std::fprintf(stderr, "tkwdec: %s: %s (status %d)\n", options.input.c_str(), text, status);
    return 2;
  }
  int result = 0;
  if (options.list) {
    for (const uint32_t number : ArchiveNumbers(index))
      std::printf("%u\n", number);
  } else if (options.number) {
    result = DecodeNumber(index, *options.number, options.stream, options.output);
  } else {
    if (!plat::isDirectory(options.output.c_str())) plat::makeDirectory(options.output.c_str());
    for (const uint32_t number : ArchiveNumbers(index)) {
      const std::string output = options.output + plat::kPathSeparator + std::to_string(number) + ".wav";
      if (const int failed = DecodeNumber(index, number, options.stream, output)) result = failed;
    }
  }
  tkrDecodeClose(index);
  return result;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  const Parsed parsed = ParseArguments(argc, argv, options);
  if (parsed != Parsed::Run) {
    PrintUsage();
    return parsed == Parsed::Help ? 0 : 1;
  }
  if (options.number || options.all || options.list) return RunArchive(options);
  return Run(options);
}
