#include "encoder_app/ConsoleEncoder.h"

#include "cli/ExitStatus.h"
#include "cli/OutputFile.h"
#include "cli/TempFolder.h"
#include "encoder_app/OutputCheck.h"
#include "encoder_app/StartCheck.h"
#include "encoder_app/TerminalProgress.h"
#include "platform/Console.h"
#include "platform/Files.h"
#include "support/Exceptions.h"

#include <cerrno>
#include <cstdio>
#include <optional>

namespace {

constexpr const char* kAlreadyEncoded = "　すでにTkwファイルが存在するため、スキップします。";

bool FolderExists(const std::string& path) {
  EncoderSettings probe;
  probe.writePath = path;
  probe.readPath = path;
  probe.bBurst = 1;
  return StartProblem(probe).empty();
}

} // namespace

ConsoleEncoder::ConsoleEncoder(const EncoderSettings& settings, const EncoderCommand& command, cli::Reporter& reporter,
                               TerminalProgress& view, StopSignal& stop)
    : EncodeProgress(view, stop), settings_(settings), command_(command), reporter_(reporter), stop_(stop) {}

std::string ConsoleEncoder::Shown(const std::string& path) const {
  const auto found = shownNames_.find(path);
  return found == shownNames_.end() ? path : found->second;
}

void ConsoleEncoder::Fail(const std::string& shownPath, const std::string& reason) {
  ++totals_.failed;
  reporter_.Error(shownPath, reason);
}

int ConsoleEncoder::Run() {
  if (std::string problem = SettingsProblem(settings_); !problem.empty()) {
    reporter_.Error(problem);
    return cli::kExitUsage;
  }
  const std::string folder = command_.outputFolder.empty() ? settings_.writePath : command_.outputFolder;
  if (command_.outputFile.empty()) {
    if (!FolderExists(folder)) {
      reporter_.Error(folder, "TKWディレクトリ名が不正です (no such folder)");
      return cli::kExitFileFailed;
    }
    if (std::string problem = FolderWriteProblem(folder); !problem.empty()) {
      reporter_.Error(folder, "cannot write there: " + problem);
      return cli::kExitFileFailed;
    }
  }
  settings_.writePath = folder;
  reporter_.Detail("settings: codec " + std::to_string(settings_.EncodeVersion) + ", tolerance " +
                   std::to_string(settings_.MaxError2) + ", distance bits " + std::to_string(settings_.DestBits) +
                   (settings_.bRemake ? ", overwrite" : "") + (settings_.bSearchSub ? ", sub-folders" : ""));
  EncodeDriver driver(settings_, *this);
  driver.SetThreadCount(command_.threads);
  bool stopped = false;
  try {
    for (const std::string& input : command_.inputs) {
      if (stop_.Requested() || plat::interruptRequested()) {
        stopped = true;
        break;
      }
      if (!EncodeInput(driver, input, folder)) {
        stopped = true;
        break;
      }
    }
  } catch (const User_Cannceled&) {
    current_ = Current{}; // the engine removed the unfinished file; it did not fail
    stopped = true;
  } catch (const EC_BadSettings& bad) {
    reporter_.Error(bad.message);
    return cli::kExitUsage;
  }
  totals_.skipped += driver.counts().skipped;
  totals_.audioSeconds = driver.counts().audioSeconds;
  if (stopped) return cli::kExitStopped;
  return totals_.failed > 0 ? cli::kExitFileFailed : cli::kExitSuccess;
}

// False when the run was stopped.
bool ConsoleEncoder::EncodeInput(EncodeDriver& driver, const std::string& input, const std::string& folder) {
  std::optional<cli::TempFolder> spool;
  std::string wave = input;
  if (input == "-") {
    spool.emplace();
    if (spool->path().empty()) {
      Fail("standard input", spool->error());
      return true;
    }
    wave = spool->file("stdin.wav");
    shownNames_[wave] = "standard input";
    if (!SpoolStandardInput(wave)) return !plat::interruptRequested();
  } else if (plat::isDirectory(input.c_str())) {
    reporter_.Detail("folder " + input);
    // An earlier walk removes the output folder when it received nothing.
    if (!plat::isDirectory(folder.c_str())) plat::makeDirectory(folder.c_str());
    driver.EncodeFolder(input, folder);
    CloseFile();
    return true;
  } else if (plat::findFile(input.c_str()) != plat::FindResult::Found) {
    Fail(input, "Waveファイル名が不正です (no such file)");
    return true;
  } else if (!HasWavExtension(input)) {
    Fail(input, "Waveファイル名が不正です (the name does not end in .wav)");
    return true;
  }
  if (!command_.outputFile.empty()) {
    EncodeToFile(driver, wave, command_.outputFile);
  } else {
    if (!plat::isDirectory(folder.c_str())) plat::makeDirectory(folder.c_str());
    driver.EncodeOne(wave, folder);
  }
  CloseFile();
  return true;
}

void ConsoleEncoder::EncodeToFile(EncodeDriver& driver, const std::string& wave, const std::string& target) {
  const cli::OutputFile::Kind kind = cli::OutputFile::KindOf(target);
  if (kind == cli::OutputFile::Kind::Folder) {
    Fail(target, "is a folder, not a .tkw file");
    return;
  }
  if (kind == cli::OutputFile::Kind::Regular) {
    if (settings_.bRemake == 0 && plat::findFile(target.c_str()) == plat::FindResult::Found) {
      WriteLog(("※" + Shown(wave)).c_str());
      WriteLog(kAlreadyEncoded);
      ++totals_.skipped;
      return;
    }
    if (std::string problem = OutputProblem(target); !problem.empty()) {
      Fail(Shown(wave), problem);
      return;
    }
    driver.EncodeWithVersion(wave, target);
    return;
  }
  // Standard output, a device or a pipe: encoded aside, then copied, so that
  // nothing renames over it.
  cli::TempFolder aside;
  if (aside.path().empty()) {
    Fail(Shown(wave), aside.error());
    return;
  }
  const std::string encoded = aside.file("output.tkw");
  shownNames_[encoded] = target == "-" ? "standard output" : target;
  driver.EncodeWithVersion(wave, encoded);
  const bool succeeded = current_.active && current_.ended;
  CloseFile();
  if (!succeeded) return;
  cli::OutputFile output(target);
  if (!output.Open() || !output.CopyFrom(encoded) || !output.Commit()) {
    --totals_.encoded;
    Fail(output.shownName(), output.error());
  }
}

bool ConsoleEncoder::SpoolStandardInput(const std::string& path) {
  plat::makeStandardInputBinary();
  errno = 0;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) {
    Fail("standard input", "cannot keep it in " + path + ": " + cli::ErrorText(errno));
    return false;
  }
  char block[65536];
  bool ok = true;
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, stdin)) > 0) {
    if (plat::interruptRequested()) {
      ok = false;
      break;
    }
    if (std::fwrite(block, 1, got, out) != got) {
      Fail("standard input", "cannot keep it in " + path + ": " + cli::ErrorText(errno));
      ok = false;
      break;
    }
  }
  // Ctrl-C while waiting for input stops the run; it is no read error.
  if (plat::interruptRequested()) ok = false;
  if (ok && std::ferror(stdin)) {
    Fail("standard input", "read failed: " + cli::ErrorText(errno));
    ok = false;
  }
  if (std::fclose(out) != 0 && ok) {
    Fail("standard input", "cannot keep it in " + path + ": " + cli::ErrorText(errno));
    ok = false;
  }
  return ok;
}

void ConsoleEncoder::OnFileStart(const char* wavePath, const char* outputPath) {
  CloseFile();
  current_ = Current{};
  current_.active = true;
  current_.wave = wavePath;
  current_.output = outputPath;
  EncodeProgress::OnFileStart(Shown(wavePath).c_str(), Shown(outputPath).c_str());
}

void ConsoleEncoder::OnProgress(std::uint64_t total, std::uint64_t done) {
  // Ctrl-C reaches the engine as a stop request at its next block.
  if (plat::interruptRequested()) stop_.Request();
  EncodeProgress::OnProgress(total, done);
}

void ConsoleEncoder::OnFileEnd(std::uint64_t inputSize, std::uint64_t outputSize) {
  EncodeProgress::OnFileEnd(inputSize, outputSize);
  if (!current_.active) return;
  current_.ended = true;
  ++totals_.encoded;
  totals_.inputBytes += inputSize;
  totals_.outputBytes += outputSize;
}

void ConsoleEncoder::OnFileFailed(const char* wavePath, const char* reason) {
  Fail(Shown(wavePath), reason);
  if (current_.active && current_.wave == wavePath) current_.reported = true;
}

void ConsoleEncoder::CloseFile() {
  if (!current_.active) return;
  const Current file = std::move(current_);
  current_ = Current{};
  // The engine names the reason of every failure it sees.
  if (!file.ended && !file.reported) Fail(Shown(file.wave), "could not be encoded");
}

std::string ConsoleEncoder::SummaryLine(double seconds, bool stopped) const {
  char counts[96];
  std::snprintf(counts, sizeof counts, "%s%d encoded, %d skipped, %d failed", stopped ? "stopped: " : "",
                totals_.encoded, totals_.skipped, totals_.failed);
  char sizes[160] = "";
  if (totals_.encoded > 0) {
    const double ratio = totals_.inputBytes
                             ? static_cast<double>(totals_.outputBytes) / static_cast<double>(totals_.inputBytes) * 100
                             : 0.0;
    std::snprintf(sizes, sizeof sizes, ": %.1f s of audio, %llu -> %llu bytes (%.1f %%)", totals_.audioSeconds,
                  static_cast<unsigned long long>(totals_.inputBytes),
                  static_cast<unsigned long long>(totals_.outputBytes), ratio);
  }
  char time[48];
  std::snprintf(time, sizeof time, " in %.1f s", seconds);
  return std::string(counts) + sizes + time;
}
