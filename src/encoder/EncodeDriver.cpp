#include "encoder/EncodeDriver.h"

#include "encoder/ChannelBuffers.h"
#include "encoder/RWaveFile.h"
#include "encoder/TkwWriterV1.h"
#include "encoder/TkwWriterV2.h"
#include "encoder/TkwWriterV3.h"
#include "platform/Files.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "support/RString.h"

#include <algorithm>
#include <memory>

namespace {

constexpr const char* kUnsuitableFormat = "エンコードに適さない、もしくは不正なフォーマットです。スキップします。";
constexpr const char* kAlreadyEncoded = "　すでにTkwファイルが存在するため、スキップします。";

// The output file cannot be created or put in place; reported like an input
// that cannot be encoded.
struct OutputNotWritable {};

std::string Join(const std::string& folder, const std::string& name) { return folder + plat::kPathSeparator + name; }

bool IsWavName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return extension == "wav";
}

} // namespace

EncodeDriver::EncodeDriver(const EncoderSettings& settings, EncoderCallbacks& callbacks)
    : settings_(settings), callbacks_(callbacks) {}

void EncodeDriver::CheckSettings() const {
  std::string problem = SettingsProblem(settings_);
  if (!problem.empty()) throw EC_BadSettings{std::move(problem)};
}

void EncodeDriver::Run() {
  CheckSettings();
  if (settings_.bBurst)
    EncodeFolder(settings_.readPath, settings_.writePath);
  else
    EncodeOne(settings_.readPath, settings_.writePath);
}

std::string EncodeDriver::OutputName(const std::string& wavePath) {
  const char* separator = FindLastSeparator(wavePath.c_str());
  std::string name = separator ? std::string(separator + 1) : wavePath;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name + ".tkw";
}

void EncodeDriver::EncodeFolder(const std::string& sourceFolder, const std::string& outputFolder) {
  CheckSettings();
  std::vector<plat::FindEntry> entries;
  plat::listDirectory(sourceFolder.c_str(), entries);
  for (const plat::FindEntry& entry : entries) {
    if (!entry.isDirectory) {
      if (IsWavName(entry.name)) EncodeOne(Join(sourceFolder, entry.name), outputFolder);
    } else if (settings_.bSearchSub == 1) {
      EncodeSubfolder(sourceFolder, outputFolder, entry.name);
    }
  }
  // Output folders that received nothing disappear; a folder with content stays.
  plat::removeDirectory(outputFolder.c_str());
}

void EncodeDriver::EncodeSubfolder(const std::string& sourceFolder, const std::string& outputFolder,
                                   const std::string& name) {
  const std::string target = Join(outputFolder, name);
  plat::makeDirectory(target.c_str()); // an existing folder is fine
  EncodeFolder(Join(sourceFolder, name), target);
}

void EncodeDriver::EncodeOne(const std::string& wavePath, const std::string& outputFolder) {
  CheckSettings();
  const std::string outputPath = Join(outputFolder, OutputName(wavePath));
  if (settings_.bRemake == 0 && plat::findFile(outputPath.c_str()) == plat::FindResult::Found) {
    callbacks_.WriteLog(("※" + wavePath).c_str());
    callbacks_.WriteLog(kAlreadyEncoded);
    ++counts_.skipped;
    return;
  }
  EncodeWithVersion(wavePath, outputPath);
}

void EncodeDriver::EncodeWithVersion(const std::string& wavePath, const std::string& outputPath) {
  callbacks_.OnFileStart(wavePath.c_str(), outputPath.c_str());
  EncodeContext context{settings_, callbacks_, notice_, &observer_};
  std::unique_ptr<TkwWriter> writer;
  switch (settings_.EncodeVersion) {
  case 1: writer = std::make_unique<TkwWriterV1>(context); break;
  case 2: writer = std::make_unique<TkwWriterV2>(context); break;
  case 3: writer = std::make_unique<TkwWriterV3>(context); break;
  default: return; // kept out by CheckSettings
  }
  notice_.Reset();
  // Only the unfinished file is removed: an older output of the same name
  // stays untouched unless a new one replaces it completely.
  const std::string partialPath = PartialPath(outputPath);
  try {
    EncodeFile(wavePath, outputPath, *writer);
    ++counts_.encoded;
  } catch (const User_Cannceled&) {
    plat::removeFile(partialPath.c_str());
    throw User_Cannceled{};
  } catch (const RWF_NotWaveFormat&) {
    callbacks_.WriteLog(kUnsuitableFormat);
    plat::removeFile(partialPath.c_str());
    ++counts_.failed;
  } catch (const RWF_NotPCMFile&) {
    callbacks_.WriteLog(kUnsuitableFormat);
    plat::removeFile(partialPath.c_str());
    ++counts_.failed;
  } catch (const EC_Not16BitWave&) {
    callbacks_.WriteLog(kUnsuitableFormat);
    plat::removeFile(partialPath.c_str());
    ++counts_.failed;
  } catch (const OutputNotWritable&) {
    callbacks_.WriteLog(kUnsuitableFormat);
    plat::removeFile(partialPath.c_str());
    ++counts_.failed;
  } catch (...) {
    plat::removeFile(partialPath.c_str());
    ++counts_.failed;
  }
}

void EncodeDriver::EncodeFile(const std::string& wavePath, const std::string& outputPath, TkwWriter& writer) {
  RWaveFile wave;
  wave.Open(wavePath.c_str(), 0);

  const std::string partialPath = PartialPath(outputPath);
  RFile output;
  if (!output.Open(partialPath.c_str(), RFile::kCreate)) throw OutputNotWritable{};

  const std::uint32_t sectorLength = writer.SectorLength();
  const std::uint32_t sectors = wave.frames / sectorLength + (wave.frames % sectorLength != 0 ? 1 : 0);
  const std::uint32_t entries = wave.channels * sectors;
  writer.SeekData(wave, output, entries);

  std::vector<SectorEntry> table(entries);
  const std::uint64_t total = std::uint64_t{wave.channels} * wave.frames;
  std::uint64_t done = 0;
  std::size_t e = 0;
  for (std::uint32_t s = 0; s < sectors; ++s) {
    const std::uint32_t frames = std::min(sectorLength, wave.frames - s * sectorLength);
    ChannelBuffers buffers(wave.channels);
    buffers.Read(wave, frames);
    for (int c = 0; c < wave.channels; ++c) {
      const std::uint32_t size = writer.WriteChunk(output, buffers.Channel(c), static_cast<int>(frames), total, done);
      if (e > 0) table[e].offset = table[e - 1].offset + table[e - 1].size;
      table[e].size = size;
      done += frames;
      ++e;
    }
  }
  writer.WriteHeader(wave, output, table);

  const std::int64_t outputSize = output.Size();
  const std::int64_t waveSize = wave.Size();
  output.Close();
  wave.Close();
  if (!plat::renameFile(partialPath.c_str(), outputPath.c_str())) throw OutputNotWritable{};
  callbacks_.OnFileEnd(static_cast<std::uint64_t>(std::max<std::int64_t>(waveSize, 0)),
                       static_cast<std::uint64_t>(std::max<std::int64_t>(outputSize, 0)));
}
