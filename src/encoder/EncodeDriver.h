// The encoding driver: finds the wave files (one file or a folder tree),
// names and skips outputs, and runs each file through the writer of the
// chosen codec version. Only User_Cannceled and EC_BadSettings leave it.
#pragma once

#include "encoder/EncoderCallbacks.h"
#include "encoder/EncoderSettings.h"
#include "encoder/ErrorNotice.h"
#include "encoder/TkwWriter.h"

#include <cstdint>
#include <string>

class EncodeDriver {
public:
  struct Counts {
    int encoded = 0;
    int skipped = 0; // outputs that already existed
    int failed = 0;  // inputs that could not be encoded
    // Of the encoded files: their sizes and the length of their sound.
    std::uint64_t inputBytes = 0;
    std::uint64_t outputBytes = 0;
    double audioSeconds = 0;
  };

  EncodeDriver(const EncoderSettings& settings, EncoderCallbacks& callbacks);

  // The batch of the settings: EncodeFolder(readPath, writePath) in directory
  // mode (bBurst), else EncodeOne(readPath, writePath).
  void Run();
  void EncodeFolder(const std::string& sourceFolder, const std::string& outputFolder);
  void EncodeSubfolder(const std::string& sourceFolder, const std::string& outputFolder, const std::string& name);
  void EncodeOne(const std::string& wavePath, const std::string& outputFolder);
  void EncodeWithVersion(const std::string& wavePath, const std::string& outputPath);
  void EncodeFile(const std::string& wavePath, const std::string& outputPath, TkwWriter& writer);

  void SetChunkObserver(ChunkObserver observer) { observer_ = std::move(observer); }
  const Counts& counts() const { return counts_; }

  // The output name of a wave file: its name with the extension replaced by
  // ".tkw" (appended when it has none).
  static std::string OutputName(const std::string& wavePath);
  // The file being written gets this suffix until it is complete.
  static std::string PartialPath(const std::string& outputPath) { return outputPath + ".part"; }

private:
  void CheckSettings() const;

  const EncoderSettings& settings_;
  EncoderCallbacks& callbacks_;
  ErrorNotice notice_;
  ChunkObserver observer_;
  Counts counts_;
};
