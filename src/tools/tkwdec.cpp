// tkwdec: decodes a sound to a 16-bit PCM wave file through the library's
// public interface.
//
//   tkwdec [--stream] [--compare original.wav] input.tkw output.wav|-
//   tkwdec [--stream] [-p P] archive.tkr --number N output.wav|-
//   tkwdec [--stream] [-p P] archive.tkr --all output-folder
//   tkwdec [-p P] archive.tkr --list
//
// The steps are kept apart so that other inputs and checks can join them:
// options, opening a decode handle, and a decode loop that hands every block
// of frames to the consumers (the wave writer).
#include "WaveComparison.h"
#include "WaveOutputFile.h"
#include "cli/ExitStatus.h"
#include "cli/OptionParser.h"
#include "cli/Reporter.h"
#include "platform/Console.h"
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

constexpr const char* kSummary =
    "Decodes a .tkw sound, or sounds of a .tkr archive, to 16-bit PCM wave files. OUTPUT - writes the wave "
    "to standard output (information then goes to standard error). A device or a named pipe as OUTPUT is "
    "written directly; a regular file appears only once it is complete.";
constexpr const char* kNotes = "Examples:\n"
                               "  tkwdec sound.tkw sound.wav\n"
                               "  tkwdec sound.tkw - | aplay\n"
                               "  tkwdec --compare original.wav sound.tkw decoded.wav\n"
                               "  tkwdec -p secret archive.tkr --number 7 seven.wav\n"
                               "  tkwdec -p secret archive.tkr --all folder\n"
                               "  tkwdec -p secret archive.tkr --list";

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

// Registers the options; the operands are sorted by SortOperands.
void AddOptions(cli::OptionParser& parser, Options& options) {
  parser
      .Value('p', "password", "TEXT", "the archive's password",
             [&options](const std::string& value) {
               options.password = value;
               return std::string();
             })
      .Text('o', "output", "FILE", "the wave file (instead of the last operand); - for standard output", options.output)
      .Value(0, "number", "N", "decode the archive's sound of that number",
             [&options](const std::string& text) -> std::string {
               char* end = nullptr;
               const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
               if (text.empty() || text[0] < '0' || text[0] > '9' || *end != '\0' || value > 0xFFFFFFFFull)
                 return "'" + text + "' is not a sound number (0 to 4294967295)";
               options.number = static_cast<uint32_t>(value);
               return {};
             })
      .Switch(0, "all", "decode every sound of the archive to FOLDER/NUMBER.wav", options.all)
      .Switch(0, "list", "print the archive's sound numbers in enumeration order", options.list)
      .Switch(0, "stream", "decode on demand instead of a sector at a time", options.stream)
      .Text(0, "compare", "WAVE", "also compare with the original: SNR, largest sample error, compression ratio",
            options.compare);
  parser.SetNotes(kNotes);
  parser.SetExitStatuses({{0, "every sound was decoded"},
                          {1, "some input or output failed (named on standard error with the reason)"},
                          {2, "the command line cannot be used"},
                          {130, "stopped by Ctrl-C"}});
}

std::string SortOperands(const std::vector<std::string>& operands, Options& options) {
  const int archiveModes = (options.number ? 1 : 0) + (options.all ? 1 : 0) + (options.list ? 1 : 0);
  if (archiveModes > 1) return "--number, --all and --list exclude each other";
  if (archiveModes == 1 && !options.compare.empty()) return "--compare works with a .tkw input only";
  std::vector<std::string> rest = operands;
  if (rest.empty()) return "no input given";
  options.input = rest.front();
  rest.erase(rest.begin());
  if (options.list) {
    if (!rest.empty() || !options.output.empty()) return "--list writes no file";
    return {};
  }
  if (!rest.empty() && options.output.empty()) {
    options.output = rest.front();
    rest.erase(rest.begin());
  }
  if (!rest.empty()) return "too many operands: " + rest.front();
  if (options.output.empty())
    return options.all ? "no output folder given" : "no output file given (- for standard output)";
  if (options.all && options.output == "-") return "--all writes files into a folder, not to standard output";
  return {};
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

std::string WithStatus(const char* text, int32_t status) {
  return std::string(text) + " (status " + std::to_string(status) + ")";
}

struct SoundInfo {
  uint32_t length = 0;
  TkwWaveFormat format{};
  int32_t sectors = 0;
};

SoundInfo Describe(TkwDecodeHandle* handle, cli::Reporter& reporter) {
  SoundInfo info;
  tkwDecodeGetLength(handle, &info.length);
  tkwDecodeGetFormat(handle, &info.format);
  tkwDecodeGetNumSector(handle, &info.sectors);
  char line[200];
  std::snprintf(line, sizeof line, "length: %u frames (%.3f s), rate: %u Hz, channels: %u, sectors: %d", info.length,
                info.format.samplesPerSec ? static_cast<double>(info.length) / info.format.samplesPerSec : 0.0,
                info.format.samplesPerSec, info.format.channels, info.sectors);
  reporter.Info(line);
  return info;
}

using FrameConsumer = std::function<bool(const int16_t* samples, uint32_t frames)>;

enum class Decoded { Done, Failed, Stopped };

// Reads the whole sound once, in blocks, and hands each block to the consumer.
Decoded DecodeAll(TkwDecodeHandle* handle, const SoundInfo& info, const std::string& name, cli::Reporter& reporter,
                  const FrameConsumer& consume) {
  constexpr uint32_t kBlockFrames = 16384;
  std::vector<int16_t> block(std::size_t{kBlockFrames} * info.format.channels);
  uint32_t left = info.length;
  while (left > 0) {
    if (plat::interruptRequested()) return Decoded::Stopped;
    const uint32_t want = left < kBlockFrames ? left : kBlockFrames;
    uint32_t got = 0;
    const int32_t status = tkwDecodeRead(handle, block.data(), want, &got);
    if ((status != TKW_OK && status != TKW_END_OF_SOUND) || got != want) {
      reporter.Error(name, WithStatus("read failed", status));
      return Decoded::Failed;
    }
    if (!consume(block.data(), got)) return Decoded::Failed;
    left -= got;
  }
  return Decoded::Done;
}

int StatusOf(Decoded decoded) {
  return decoded == Decoded::Stopped  ? cli::kExitStopped
         : decoded == Decoded::Failed ? cli::kExitFileFailed
                                      : cli::kExitSuccess;
}

// Decodes one opened sound to a wave output; the exit status. The comparison,
// when given, sees every block on the way.
int DecodeToWave(TkwDecodeHandle* handle, const std::string& name, const std::string& output, bool stream,
                 cli::Reporter& reporter, WaveComparison* comparison = nullptr, const std::string& comparePath = {}) {
  const SoundInfo info = Describe(handle, reporter);
  if (comparison && !comparison->Open(comparePath, info.format.channels, info.length)) {
    reporter.Error(comparePath, comparison->error());
    return cli::kExitFileFailed;
  }
  WaveOutputFile wav(output, info.format.channels, info.format.samplesPerSec, info.length);
  if (!wav.Open()) {
    reporter.Error(wav.shownName(), wav.error());
    return cli::kExitFileFailed;
  }
  const auto start = std::chrono::steady_clock::now();
  const Decoded decoded = DecodeAll(handle, info, name, reporter, [&](const int16_t* samples, uint32_t frames) {
    if (comparison && !comparison->Compare(samples, frames)) {
      reporter.Error(comparePath, comparison->error());
      return false;
    }
    if (wav.Write(samples, frames)) return true;
    reporter.Error(wav.shownName(), wav.error());
    return false;
  });
  if (decoded != Decoded::Done) return StatusOf(decoded);
  if (!wav.Finish()) {
    reporter.Error(wav.shownName(), wav.error());
    return cli::kExitFileFailed;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double audio = info.format.samplesPerSec ? static_cast<double>(info.length) / info.format.samplesPerSec : 0;
  char line[600];
  std::snprintf(line, sizeof line, "decoded %u frames in %.3f s (%s mode, %.0fx real time) to %s", info.length, seconds,
                stream ? "on-demand" : "sector", seconds > 0 ? audio / seconds : 0.0, wav.shownName().c_str());
  reporter.Info(line);
  return cli::kExitSuccess;
}

int Run(const Options& options, cli::Reporter& reporter) {
  TkwDecodeHandle* handle = nullptr;
  const int32_t status = tkwDecodeOpen(&handle, options.input.c_str(), options.stream ? TKW_OPEN_STREAM : 0);
  if (status != TKW_OK) {
    reporter.Error(options.input, WithStatus(StatusText(status), status));
    return cli::kExitFileFailed;
  }
  std::optional<WaveComparison> comparison;
  if (!options.compare.empty()) comparison.emplace();
  const int result = DecodeToWave(handle, options.input, options.output, options.stream, reporter,
                                  comparison ? &*comparison : nullptr, options.compare);
  tkwDecodeClose(handle);
  if (result != cli::kExitSuccess || !comparison) return result;
  std::FILE* tkw = std::fopen(options.input.c_str(), "rb");
  long tkwSize = -1;
  if (tkw && std::fseek(tkw, 0, SEEK_END) == 0) tkwSize = std::ftell(tkw);
  if (tkw) std::fclose(tkw);
  const double wavSize = static_cast<double>(comparison->WaveSize());
  char line[800];
  std::snprintf(line, sizeof line,
                "compared with %s: SNR %.2f dB, largest sample error %d, size %ld of %lld bytes (%.1f %%, %.2f:1)",
                options.compare.c_str(), comparison->SnrDb(), comparison->MaxError(), tkwSize,
                static_cast<long long>(comparison->WaveSize()), tkwSize > 0 ? tkwSize / wavSize * 100 : 0.0,
                tkwSize > 0 ? wavSize / tkwSize : 0.0);
  reporter.Info(line);
  return cli::kExitSuccess;
}

int DecodeNumber(TkrDecodeHandle* index, uint32_t number, const Options& options, const std::string& output,
                 cli::Reporter& reporter) {
  TkwDecodeHandle* handle = nullptr;
  const std::string name = options.input + ": sound " + std::to_string(number);
  const int32_t status = tkrDecodeTkwOpen(index, &handle, number, options.stream ? TKW_OPEN_STREAM : 0);
  if (status != TKW_OK || handle == nullptr) {
    reporter.Error(name, WithStatus(StatusText(status), status));
    return cli::kExitFileFailed;
  }
  const int result = DecodeToWave(handle, name, output, options.stream, reporter);
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

int RunArchive(const Options& options, cli::Reporter& reporter) {
  TkrDecodeHandle* index = nullptr;
  const char* password = options.password ? options.password->c_str() : nullptr;
  const int32_t status = tkrDecodeOpenPass(&index, options.input.c_str(), password, nullptr);
  if (status != TKW_OK) {
    const char* text = status == TKW_ERR_BAD_FORMAT ? "not a valid .tkr archive" : StatusText(status);
    reporter.Error(options.input, WithStatus(text, status));
    return cli::kExitFileFailed;
  }
  int result = cli::kExitSuccess;
  if (options.list) {
    // The numbers are the program's result: always on standard output.
    for (const uint32_t number : ArchiveNumbers(index))
      std::printf("%u\n", number);
  } else if (options.number) {
    result = DecodeNumber(index, *options.number, options, options.output, reporter);
  } else {
    if (!plat::isDirectory(options.output.c_str()) && !plat::makeDirectory(options.output.c_str())) {
      reporter.Error(options.output, "cannot make the folder");
      result = cli::kExitFileFailed;
    }
    for (const uint32_t number : result == cli::kExitSuccess ? ArchiveNumbers(index) : std::vector<uint32_t>{}) {
      const std::string output = options.output + plat::kPathSeparator + std::to_string(number) + ".wav";
      const int one = DecodeNumber(index, number, options, output, reporter);
      if (one == cli::kExitStopped) {
        result = one;
        break;
      }
      if (one != cli::kExitSuccess) result = one;
    }
  }
  tkrDecodeClose(index);
  return result;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  cli::OptionParser parser(
      "tkwdec", "[options] INPUT OUTPUT\n  or:  tkwdec [options] ARCHIVE (--number N OUTPUT | --all FOLDER | --list)",
      kSummary);
  AddOptions(parser, options);
  const auto parsed = parser.Parse(argc, argv);
  if (parsed != cli::OptionParser::Result::Run) return parser.Finish(parsed);
  if (const std::string problem = SortOperands(parser.Operands(), options); !problem.empty())
    return parser.UsageError(problem);
  cli::Reporter reporter("tkwdec");
  reporter.SetVerbosity(parser.verbosity());
  reporter.SetDataOnStandardOutput(options.output == "-");
  plat::installInterruptHandler();
  if (options.number || options.all || options.list) return RunArchive(options, reporter);
  return Run(options, reporter);
}
