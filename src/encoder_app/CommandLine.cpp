#include "encoder_app/CommandLine.h"

#include "platform/Files.h"

#include <cstdint>
#include <functional>
#include <map>

namespace {

// Unsigned decimal digits only, as the settings dialog reads its fields.
bool ParseNumber(const std::string& text, std::int32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  std::int64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number > INT32_MAX) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

} // namespace

const char* UsageText() {
  return "Usage: tkwEncoder [options] INPUT [OUTPUT_FOLDER]\n"
         "Encodes 16-bit PCM wave files (mono or stereo) into .tkw files.\n"
         "INPUT is a .wav file, or a folder whose .wav files are all encoded.\n"
         "OUTPUT_FOLDER must exist; it defaults to the WritePath of TkwEncoder.ini\n"
         "(the current directory).\n"
         "\n"
         "Options override TkwEncoder.ini (in the current directory) for this run:\n"
         "  -c, --codec N            codec version 1, 2 or 3            (EncodeVersion)\n"
         "  -t, --tolerance N        error tolerance in sample units   (MaxError2)\n"
         "  -d, --distance-bits N    distance field width, 10 to 13    (DestBits)\n"
         "      --min-blocks, --no-min-blocks\n"
         "                           use the smallest blocks or not    (bEncodeMinBits)\n"
         "  -r, --subfolders, --no-subfolders\n"
         "                           walk sub-folders of a folder      (bSearchSub)\n"
         "  -f, --overwrite, --no-overwrite\n"
         "                           encode again when the .tkw exists (bRemake)\n"
         "      --log, --no-log      write Log.txt in the current directory (bMakeLog)\n"
         "      --contrast-max N     version 1 contrast limit, 1 to 65535   (MaxContrast)\n"
         "      --brightness-max N   version 1 brightness limit, 1 to 65535 (MaxBrightness)\n"
         "      --contrast-bits N    version 1 contrast code width         (ContrastBits)\n"
         "      --brightness-bits N  version 1 brightness code width       (BrightnessBits)\n"
         "  -j, --threads N          encode on N threads; 0 (the default) uses every core\n"
         "      --save               keep these settings in TkwEncoder.ini\n"
         "  -q, --quiet              no progress line\n"
         "  -h, --help               this text\n"
         "\n"
         "Ctrl-C stops after the current block: finished files stay, the unfinished\n"
         "one is removed.\n"
         "Exit status: 0 every file encoded or skipped, 1 a file could not be encoded,\n"
         "2 unusable arguments or settings, 130 stopped.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, EncoderSettings& settings) {
  CommandLine result;
  const std::map<std::string, std::int32_t*> numbers = {
      {"-c", &settings.EncodeVersion},
      {"--codec", &settings.EncodeVersion},
      {"-t", &settings.MaxError2},
      {"--tolerance", &settings.MaxError2},
      {"-d", &settings.DestBits},
      {"--distance-bits", &settings.DestBits},
      {"--contrast-max", &settings.MaxContrast},
      {"--brightness-max", &settings.MaxBrightness},
      {"--contrast-bits", &settings.ContrastBits},
      {"--brightness-bits", &settings.BrightnessBits},
  };
  const std::map<std::string, std::pair<std::int32_t*, std::int32_t>> switches = {
      {"--min-blocks", {&settings.bEncodeMinBits, 1}},
      {"--no-min-blocks", {&settings.bEncodeMinBits, 0}},
      {"-r", {&settings.bSearchSub, 1}},
      {"--subfolders", {&settings.bSearchSub, 1}},
      {"--no-subfolders", {&settings.bSearchSub, 0}},
      {"-f", {&settings.bRemake, 1}},
      {"--overwrite", {&settings.bRemake, 1}},
      {"--no-overwrite", {&settings.bRemake, 0}},
      {"--log", {&settings.bMakeLog, 1}},
      {"--no-log", {&settings.bMakeLog, 0}},
  };
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string arg = arguments[i];
    std::string value;
    bool hasValue = false;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      value = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
      hasValue = true;
    }
    if (arg == "-h" || arg == "--help") {
      result.help = true;
    } else if (arg == "--save") {
      result.save = true;
    } else if (arg == "-q" || arg == "--quiet") {
      result.quiet = true;
    } else if (arg == "-j" || arg == "--threads") {
      if (!hasValue) {
        if (i + 1 >= arguments.size()) return result.error = arg + " needs a number", result;
        value = arguments[++i];
      }
      std::int32_t threads = 0;
      if (!ParseNumber(value, threads) || threads > 1024)
        return result.error = arg + ": not a thread count: " + value, result;
      result.threads = threads;
    } else if (auto n = numbers.find(arg); n != numbers.end()) {
      if (!hasValue) {
        if (i + 1 >= arguments.size()) return result.error = arg + " needs a number", result;
        value = arguments[++i];
      }
      if (!ParseNumber(value, *n->second)) return result.error = arg + ": not a number: " + value, result;
    } else if (auto s = switches.find(arg); s != switches.end() && !hasValue) {
      *s->second.first = s->second.second;
    } else if (arg == "--") {
      positional.insert(positional.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
      break;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return result.error = "unknown option " + arguments[i], result;
    } else {
      positional.push_back(arg);
    }
  }
  if (result.help) return result;
  if (positional.empty()) return result.error = "no input file or folder given", result;
  if (positional.size() > 2) return result.error = "too many arguments", result;
  // Full paths, as the window programs keep them in the ini file.
  auto full = [](const std::string& path) {
    std::string out;
    return plat::fullPathName(path.c_str(), out) ? out : path;
  };
  settings.readPath = full(positional[0]);
  if (positional.size() == 2) settings.writePath = full(positional[1]);
  settings.bBurst = plat::isDirectory(settings.readPath.c_str()) ? 1 : 0;
  return result;
}
