#include "encoder_app/CommandLine.h"

#include "platform/Files.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kMaxThreads = 256;
constexpr const char* kUsage = "[options] INPUT... [OUTPUT]";
constexpr const char* kSummary =
    "Encodes 16-bit PCM wave files (mono or stereo) into .tkw files. Each INPUT is a .wav file, a folder "
    "whose .wav files are all encoded (with its sub-folders unless --no-subfolders), or - for a wave stream "
    "on standard input. The outputs go to the folder given last (it must exist), to --output-folder, or to "
    "the WritePath of TkwEncoder.ini (the current directory); OUTPUT may also be the .tkw file of a single "
    "input, or - for standard output. Options override TkwEncoder.ini (in the current directory) for this "
    "run; the defaults shown are the values in effect.";
constexpr const char* kNotes = "Examples:\n"
                               "  tkwEncoder song.wav                    song.tkw in the WritePath folder\n"
                               "  tkwEncoder -c 1 a.wav b.wav out/       two files into out/\n"
                               "  tkwEncoder waves/ out/                 a folder tree into out/\n"
                               "  tkwEncoder -o voice.tkw take3.wav      one file under a name of its own\n"
                               "  sox in.flac -t wav - | tkwEncoder - out.tkw\n"
                               "\n"
                               "An existing .tkw file is skipped unless --overwrite is given. Ctrl-C stops\n"
                               "after the current block: finished files stay, the unfinished one is removed.\n"
                               "Log lines go to standard output (to standard error when the sound goes to\n"
                               "standard output), errors to standard error, each naming the file and the\n"
                               "reason.";

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '/' || path.back() == plat::kPathSeparator);
}

// Full paths, as the window programs keep them in the ini file.
std::string FullPath(const std::string& path) {
  if (path == "-") return path;
  std::string out;
  return plat::fullPathName(path.c_str(), out) ? out : path;
}

} // namespace

bool HasTkwExtension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  std::transform(end.begin(), end.end(), end.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return end == ".tkw";
}

EncoderCommandLine::EncoderCommandLine(EncoderSettings& settings) : parser_("tkwEncoder", kUsage, kSummary) {
  parser_.Section("Output:")
      .Text('o', "output", "FILE", "the .tkw file of a single input; - writes it to standard output",
            command_.outputFile)
      .Text('O', "output-folder", "FOLDER", "the folder the outputs go to (it must exist)", command_.outputFolder,
            "the WritePath of TkwEncoder.ini")
      .Toggle('f', "overwrite", "encode again when the .tkw file exists (bRemake)", settings.bRemake)
      .Toggle('r', "subfolders", "walk the sub-folders of a folder, into sub-folders of the output (bSearchSub)",
              settings.bSearchSub)
      .Toggle(0, "log", "write Log.txt in the current directory (bMakeLog)", settings.bMakeLog);
  parser_.Section("Encoding:")
      .Number('c', "codec", "N", "codec version, 1 to 3 (EncodeVersion)", settings.EncodeVersion, 1, 3)
      .Number('t', "tolerance", "N", "error tolerance in sample units (MaxError2)", settings.MaxError2, 0, INT32_MAX)
      .Number('d', "distance-bits", "N", "width of the distance field (DestBits)", settings.DestBits, 10, 13)
      .Toggle(0, "min-blocks", "also try the smallest blocks (bEncodeMinBits)", settings.bEncodeMinBits)
      .Number(0, "contrast-max", "N", "version 1: contrast limit (MaxContrast)", settings.MaxContrast, 1, 65535)
      .Number(0, "brightness-max", "N", "version 1: brightness limit (MaxBrightness)", settings.MaxBrightness, 1, 65535)
      .Number(0, "contrast-bits", "N", "version 1: contrast code width (ContrastBits)", settings.ContrastBits, 1, 16)
      .Number(0, "brightness-bits", "N", "version 1: brightness code width (BrightnessBits)", settings.BrightnessBits,
              1, 16)
      .Value(
          'j', "threads", "N", "encoding threads; 0 uses every core",
          [this](const std::string& value) -> std::string {
            if (value.empty() || value.size() > 4 ||
                !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
              return "'" + value + "' is not a number";
            // Each busy thread holds about 18 MB of search tables.
            if (std::stoi(value) > kMaxThreads) return "at most " + std::to_string(kMaxThreads) + " threads";
            command_.threads = std::stoi(value);
            command_.threadsGiven = true;
            return {};
          },
          "0")
      .Switch(0, "save", "keep these settings in TkwEncoder.ini", command_.save);
  parser_.SetNotes(kNotes);
  parser_.SetExitStatuses({{0, "every input was encoded or skipped"},
                           {1, "some input could not be encoded (each is named on standard error)"},
                           {2, "the command line or the settings cannot be used"},
                           {130, "stopped by Ctrl-C"}});
}

cli::OptionParser::Result EncoderCommandLine::Parse(const std::vector<std::string>& arguments) {
  error_.clear();
  const cli::OptionParser::Result result = parser_.Parse(arguments);
  if (result != cli::OptionParser::Result::Run) return result;
  error_ = SortOperands(parser_.Operands());
  return error_.empty() ? result : cli::OptionParser::Result::Error;
}

std::string EncoderCommandLine::SortOperands(const std::vector<std::string>& operands) {
  std::vector<std::string> inputs = operands;
  if (inputs.empty()) return "no input given (a .wav file, a folder, or - for standard input)";
  const bool outputOption = !command_.outputFile.empty();
  if (!outputOption && inputs.size() >= 2) {
    const std::string& last = inputs.back();
    if (inputs.size() == 2 && (last == "-" || (HasTkwExtension(last) && !plat::isDirectory(last.c_str())))) {
      command_.outputFile = last;
      inputs.pop_back();
    } else if (last != "-" && (EndsWithSeparator(last) || plat::isDirectory(last.c_str()))) {
      if (!command_.outputFolder.empty()) return "two output folders: " + command_.outputFolder + " and " + last;
      command_.outputFolder = last;
      inputs.pop_back();
    }
  }
  if (std::count(inputs.begin(), inputs.end(), "-") > 1) return "standard input (-) can be read only once";
  if (!command_.outputFile.empty()) {
    if (outputOption && !command_.outputFolder.empty()) return "--output and --output-folder cannot be used together";
    if (inputs.size() != 1)
      return "--output names the .tkw file of one input, but " + std::to_string(inputs.size()) + " are given";
    if (plat::isDirectory(inputs[0].c_str()))
      return "--output names a .tkw file, but " + inputs[0] + " is a folder (use --output-folder)";
  } else if (std::find(inputs.begin(), inputs.end(), "-") != inputs.end()) {
    return "a wave stream on standard input needs an output file: -o FILE, or -o - for standard output";
  }
  command_.inputs.clear();
  for (const std::string& input : inputs)
    command_.inputs.push_back(FullPath(input));
  if (!command_.outputFolder.empty()) command_.outputFolder = FullPath(command_.outputFolder);
  if (!command_.outputFile.empty()) command_.outputFile = FullPath(command_.outputFile);
  return "";
}
