// The encoding driver: finds the wave files (one file or a folder tree),
// names and skips outputs, and runs each file through the writer of the
// chosen codec version. Only User_Cannceled and EC_BadSettings leave it.
// The chunks of a file are encoded on worker threads and written in order;
// every callback is made on the thread that called the driver.
#pragma once

#include "encoder/ChunkWorkspace.h"
#include "encoder/EncoderCallbacks.h"
#include "encoder/EncoderSettings.h"
#include "encoder/ErrorNotice.h"
#include "encoder/TkwWriter.h"

#include <cstdint>
#include <memory>
#include <string>

class ChunkPool;
class RWaveFile;
class RFile;

class EncodeDriver {
public:
  struct Counts {
    int encoded = 0;
    int skipped = 0; // outputs that already existed
    int failed = 0;  // inputs that could not be encoded
    // Totals of the encoded files.
    std::uint64_t inputBytes = 0;
    std::uint64_t outputBytes = 0;
    double audioSeconds = 0; // frames / sample rate
  };

  EncodeDriver(const EncoderSettings& settings, EncoderCallbacks& callbacks);
  ~EncodeDriver();

  // Threads that encode the chunks of a file at once; 0 (the default) is one
  // per processor core. The bytes written do not depend on it.
  void SetThreadCount(int threads);
  int ThreadCount() const;
  // The search every chunk uses: the processor's fastest by default; null is
  // the plain reference search.
  void SetSearchKernel(BatchKernel kernel) { kernel_ = kernel; }

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
  struct Chunk;
  struct ParallelRun;

  void CheckSettings() const;
  // Counts a failed file; logLine (may be null) is its line in the log.
  void Failed(const std::string& wavePath, const std::string& reason, const char* logLine);
  // Reads one sector; a short read fails the file.
  void ReadSector(class ChannelBuffers& buffers, RWaveFile& wave, std::uint32_t first, std::uint32_t frames);
  void EncodeChunksInOrder(RWaveFile& wave, RFile& output, TkwWriter& writer, TkwSectorTable& table);
  void EncodeChunksInParallel(RWaveFile& wave, RFile& output, TkwSectorTable& table);
  void EncodeChunk(Chunk& chunk, ParallelRun& run, ChunkWorkspace& workspace);

  const EncoderSettings& settings_;
  EncoderCallbacks& callbacks_;
  ErrorNotice notice_;
  ChunkObserver observer_;
  Counts counts_;
  int threads_ = 0;
  BatchKernel kernel_ = DefaultSearch().kernel;
  std::unique_ptr<ChunkPool> pool_;
  ChunkWorkspace workspace_; // of the chunks encoded on the calling thread
  std::string reason_;       // why the current file failed, when known
};
