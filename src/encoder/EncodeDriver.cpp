#include "encoder/EncodeDriver.h"

#include "encoder/ChannelBuffers.h"
#include "encoder/ChunkPool.h"
#include "encoder/EncodeFailures.h"
#include "encoder/TkwWriterV1.h"
#include "encoder/TkwWriterV2.h"
#include "encoder/TkwWriterV3.h"
#include "platform/Files.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "support/RString.h"
#include "wave/RWaveFile.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace {

constexpr const char* kUnsuitableFormat = "エンコードに適さない、もしくは不正なフォーマットです。スキップします。";
// An output that cannot be created or written is no fault of the input.
constexpr const char* kCannotWrite = "Tkwファイルを作成できません。スキップします。";
constexpr const char* kAlreadyEncoded = "　すでにTkwファイルが存在するため、スキップします。";

std::string TooLong(const std::string& what, std::size_t length, std::size_t limit) {
  return what + " is " + std::to_string(length) + " bytes long; at most " + std::to_string(limit) + " fit";
}

std::unique_ptr<TkwWriter> MakeWriter(int version, EncodeContext& context) {
  switch (version) {
  case 1: return std::make_unique<TkwWriterV1>(context);
  case 2: return std::make_unique<TkwWriterV2>(context);
  case 3: return std::make_unique<TkwWriterV3>(context);
  }
  return nullptr;
}

// What a worker reports while it encodes a chunk: how far it got, read by the
// calling thread for the progress display; a stop request ends the chunk
// before its next block.
class WorkerCallbacks : public EncoderCallbacks {
public:
  WorkerCallbacks(std::atomic<std::uint64_t>& progress, const std::atomic<bool>& stop)
      : progress_(progress), stop_(stop) {}
  void OnFileStart(const char*, const char*) override {}
  void OnProgress(std::uint64_t, std::uint64_t done) override {
    progress_.store(done, std::memory_order_relaxed);
    if (stop_.load(std::memory_order_relaxed)) throw User_Cannceled{};
  }
  void OnFileEnd(std::uint64_t, std::uint64_t) override {}
  void WriteLog(const char*) override {}

private:
  std::atomic<std::uint64_t>& progress_;
  const std::atomic<bool>& stop_;
};

std::string Join(const std::string& folder, const std::string& name) { return folder + plat::kPathSeparator + name; }

bool IsWavName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return extension == "wav";
}

// A sector buffer that no chunk uses any more, or a new one. The chunks that
// share a buffer are released on the calling thread only.
std::shared_ptr<ChannelBuffers> SpareSector(std::vector<std::shared_ptr<ChannelBuffers>>& sectors, int channels) {
  for (const auto& sector : sectors)
    if (sector.use_count() == 1) return sector;
  sectors.push_back(std::make_shared<ChannelBuffers>(channels));
  return sectors.back();
}

} // namespace

// One chunk on its way through a worker.
struct EncodeDriver::Chunk {
  std::shared_ptr<ChannelBuffers> sector; // shared by the channels of a sector
  int channel = 0;
  std::uint32_t frames = 0;
  std::atomic<std::uint64_t> progress{0};
  bool finished = false; // guarded by the run's mutex
  std::vector<unsigned char> bytes;
  std::exception_ptr failure;
  std::vector<std::int16_t> working; // for the chunk observer
};

struct EncodeDriver::ParallelRun {
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<bool> stop{false};
};

EncodeDriver::EncodeDriver(const EncoderSettings& settings, EncoderCallbacks& callbacks)
    : settings_(settings), callbacks_(callbacks) {}

EncodeDriver::~EncodeDriver() = default;

void EncodeDriver::SetThreadCount(int threads) { threads_ = std::max(threads, 0); }

int EncodeDriver::ThreadCount() const {
  if (threads_ > 0) return threads_;
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

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

void EncodeDriver::Failed(const std::string& wavePath, const std::string& reason, const char* logLine) {
  if (logLine) callbacks_.WriteLog(logLine);
  ++counts_.failed;
  callbacks_.OnFileFailed(wavePath.c_str(), reason.c_str());
}

void EncodeDriver::EncodeWithVersion(const std::string& wavePath, const std::string& outputPath) {
  callbacks_.OnFileStart(wavePath.c_str(), outputPath.c_str());
  EncodeContext context{settings_, callbacks_, notice_, &observer_, SearchOptions{kernel_, &workspace_}};
  std::unique_ptr<TkwWriter> writer = MakeWriter(settings_.EncodeVersion, context);
  if (!writer) return; // kept out by CheckSettings
  notice_.Reset();
  reason_.clear();
  // Paths are held in 500-byte texts; a longer one would name another file.
  if (wavePath.size() >= RString::kCapacity) {
    Failed(wavePath, TooLong("the path", wavePath.size(), RString::kCapacity - 1), kUnsuitableFormat);
    return;
  }
  if (PartialPath(outputPath).size() >= RString::kCapacity) {
    const std::size_t room = RString::kCapacity - 1 - (PartialPath(outputPath).size() - outputPath.size());
    Failed(wavePath, TooLong("the output path " + outputPath, outputPath.size(), room), kCannotWrite);
    return;
  }
  // Only the unfinished file is removed: an older output of the same name
  // stays untouched unless a new one replaces it completely.
  const std::string partialPath = PartialPath(outputPath);
  auto reasonOr = [this](const char* fallback) { return reason_.empty() ? std::string(fallback) : reason_; };
  try {
    EncodeFile(wavePath, outputPath, *writer);
    ++counts_.encoded;
    return;
  } catch (const User_Cannceled&) {
    plat::removeFile(partialPath.c_str());
    throw User_Cannceled{};
  } catch (const RWF_FileNotExist&) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath, "the input does not exist", nullptr);
  } catch (const RWF_NotWaveFormat&) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath, reasonOr("not a RIFF WAVE file"), kUnsuitableFormat);
  } catch (const RWF_NotPCMFile&) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath, reasonOr("not PCM"), kUnsuitableFormat);
  } catch (const EC_Not16BitWave&) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath, reasonOr("not 16-bit PCM"), kUnsuitableFormat);
  } catch (const EC_OutputNotCreated& e) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath, "cannot create " + outputPath + ": " + plat::errorText(e.error), kCannotWrite);
  } catch (const EC_OutputWriteFailed& e) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath,
           plat::isDiskFull(e.error) ? std::string("the disk is full")
                                     : "the output cannot be written: " + plat::errorText(e.error),
           kCannotWrite);
  } catch (const EC_InputEndedEarly& e) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath,
           "the input ended early: " + std::to_string(e.framesRead) + " of " + std::to_string(e.framesDeclared) +
               " frames could be read",
           kUnsuitableFormat);
  } catch (const std::bad_alloc&) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath, "not enough memory", nullptr);
  } catch (...) {
    plat::removeFile(partialPath.c_str());
    Failed(wavePath, "unexpected failure", nullptr);
  }
}

void EncodeDriver::EncodeFile(const std::string& wavePath, const std::string& outputPath, TkwWriter& writer) {
  RWaveFile wave;
  try {
    wave.Open(wavePath.c_str(), 0);
  } catch (...) {
    reason_ = wave.Refusal();
    throw;
  }

  const std::string partialPath = PartialPath(outputPath);
  RFile output;
  if (!output.Open(partialPath.c_str(), RFile::kCreate)) throw EC_OutputNotCreated{plat::lastError()};

  const std::uint32_t sectorLength = writer.SectorLength();
  const std::uint32_t sectors = wave.frames / sectorLength + (wave.frames % sectorLength != 0 ? 1 : 0);
  const std::uint32_t entries = wave.channels * sectors;
  try {
    writer.SeekData(wave, output, entries);
  } catch (const EC_Not16BitWave&) {
    reason_ = "not 16-bit PCM: " + std::to_string(wave.bitsPerSample) + " bits per sample";
    throw;
  }

  TkwSectorTable table(entries);
  if (ThreadCount() > 1 && entries > 1)
    EncodeChunksInParallel(wave, output, table);
  else
    EncodeChunksInOrder(wave, output, writer, table);
  writer.WriteHeader(wave, output, table);

  const std::int64_t outputSize = output.Size();
  const std::int64_t waveSize = wave.Size();
  // Closing may be where the system reports that the data could not be stored.
  if (!output.Close()) throw EC_OutputWriteFailed{plat::lastError()};
  wave.Close();
  if (!plat::renameFile(partialPath.c_str(), outputPath.c_str())) throw EC_OutputNotCreated{plat::lastError()};
  const auto inputBytes = static_cast<std::uint64_t>(std::max<std::int64_t>(waveSize, 0));
  const auto outputBytes = static_cast<std::uint64_t>(std::max<std::int64_t>(outputSize, 0));
  counts_.inputBytes += inputBytes;
  counts_.outputBytes += outputBytes;
  if (wave.sampleRate > 0) counts_.audioSeconds += static_cast<double>(wave.frames) / wave.sampleRate;
  callbacks_.OnFileEnd(inputBytes, outputBytes);
}

void EncodeDriver::ReadSector(ChannelBuffers& buffers, RWaveFile& wave, std::uint32_t first, std::uint32_t frames) {
  const std::uint32_t got = buffers.Read(wave, frames);
  // A file cut short after it was opened must not end up encoded with
  // silence in place of the missing part.
  if (got < frames) throw EC_InputEndedEarly{std::uint64_t{first} + got, wave.frames};
}

void EncodeDriver::EncodeChunksInOrder(RWaveFile& wave, RFile& output, TkwWriter& writer, TkwSectorTable& table) {
  const std::uint32_t sectorLength = writer.SectorLength();
  const std::uint64_t total = std::uint64_t{wave.channels} * wave.frames;
  std::uint64_t done = 0;
  std::size_t e = 0;
  ChannelBuffers buffers(wave.channels);
  for (std::uint32_t first = 0; first < wave.frames; first += sectorLength) {
    const std::uint32_t frames = std::min(sectorLength, wave.frames - first);
    ReadSector(buffers, wave, first, frames);
    for (int c = 0; c < wave.channels; ++c) {
      const std::uint32_t size = writer.WriteChunk(output, buffers.Channel(c), static_cast<int>(frames), total, done);
      if (e > 0) table[e].offset = table[e - 1].offset + table[e - 1].size;
      table[e].size = size;
      done += frames;
      ++e;
    }
  }
  // The display reaches the whole file, not only the start of its last block.
  if (total > 0) callbacks_.OnProgress(total, done);
}

void EncodeDriver::EncodeChunk(Chunk& chunk, ParallelRun& run, ChunkWorkspace& workspace) {
  try {
    if (run.stop.load()) throw User_Cannceled{};
    WorkerCallbacks callbacks(chunk.progress, run.stop);
    const ChunkObserver copy = [&chunk](const WorkingSignal& signal) {
      chunk.working.assign(signal.At(0), signal.At(0) + signal.Count());
    };
    EncodeContext context{settings_, callbacks, notice_, observer_ ? &copy : nullptr,
                          SearchOptions{kernel_, &workspace}};
    const std::unique_ptr<TkwWriter> writer = MakeWriter(settings_.EncodeVersion, context);
    TkwBitWriter bits;
    writer->EncodeChunk(bits, chunk.sector->Channel(chunk.channel), static_cast<int>(chunk.frames), chunk.frames, 0);
    bits.Flush();
    chunk.bytes = bits.Bytes();
  } catch (...) {
    chunk.failure = std::current_exception();
  }
  chunk.progress.store(chunk.frames);
  // Notified under the lock: once the caller sees the chunk finished it may
  // end the run, and nothing here touches the run after the lock is released.
  std::lock_guard<std::mutex> lock(run.mutex);
  chunk.finished = true;
  run.finished.notify_all();
}

void EncodeDriver::EncodeChunksInParallel(RWaveFile& wave, RFile& output, TkwSectorTable& table) {
  const int threads = ThreadCount();
  if (!pool_ || pool_->Threads() != threads) pool_ = std::make_unique<ChunkPool>(threads);
  const std::uint32_t sectorLength = tkw::kSectorLength;
  const std::uint64_t total = std::uint64_t{wave.channels} * wave.frames;
  // Chunks read, encoding or waiting to be written: each holds at most a
  // sector of samples and one chunk of output, so memory stays bounded.
  const std::size_t window = static_cast<std::size_t>(threads) + 2;
  ParallelRun run;
  std::deque<std::unique_ptr<Chunk>> pending; // in table order
  std::vector<std::shared_ptr<ChannelBuffers>> sectors;
  std::shared_ptr<ChannelBuffers> sector;
  std::uint64_t done = 0;
  std::size_t submitted = 0;
  std::size_t written = 0;

  auto finished = [&run](const Chunk& chunk) {
    std::lock_guard<std::mutex> lock(run.mutex);
    return chunk.finished;
  };
  auto progress = [&] {
    std::uint64_t sum = done;
    for (const auto& chunk : pending)
      sum += chunk->progress.load(std::memory_order_relaxed);
    return sum;
  };
  try {
    callbacks_.OnProgress(total, 0);
    while (written < table.size()) {
      while (submitted < table.size() && pending.size() < window) {
        const auto c = static_cast<int>(submitted % wave.channels);
        const auto first = static_cast<std::uint32_t>(submitted / wave.channels) * sectorLength;
        const std::uint32_t frames = std::min(sectorLength, wave.frames - first);
        if (c == 0) {
          sector = SpareSector(sectors, wave.channels);
          ReadSector(*sector, wave, first, frames);
        }
        auto chunk = std::make_unique<Chunk>();
        chunk->sector = sector;
        chunk->channel = c;
        chunk->frames = frames;
        Chunk* job = chunk.get();
        pending.push_back(std::move(chunk));
        pool_->Submit([this, job, &run](ChunkWorkspace& workspace) { EncodeChunk(*job, run, workspace); });
        ++submitted;
      }
      {
        std::unique_lock<std::mutex> lock(run.mutex);
        run.finished.wait_for(lock, std::chrono::milliseconds(50), [&] { return pending.front()->finished; });
      }
      // The stop request reaches the workers through this call.
      callbacks_.OnProgress(total, progress());
      while (!pending.empty() && finished(*pending.front())) {
        Chunk& chunk = *pending.front();
        if (chunk.failure) std::rethrow_exception(chunk.failure);
        if (observer_) observer_(WorkingSignal(chunk.working.data(), static_cast<int>(chunk.working.size())));
        TkwWriter::WriteAll(output, chunk.bytes);
        const std::size_t e = written;
        if (e > 0) table[e].offset = table[e - 1].offset + table[e - 1].size;
        table[e].size = static_cast<std::uint32_t>(chunk.bytes.size());
        done += chunk.frames;
        pending.pop_front();
        ++written;
      }
    }
    callbacks_.OnProgress(total, done);
  } catch (...) {
    // Every worker stops before its next block; the chunks they hold must
    // outlive them.
    run.stop.store(true);
    std::unique_lock<std::mutex> lock(run.mutex);
    run.finished.wait(lock, [&] {
      return std::all_of(pending.begin(), pending.end(), [](const auto& chunk) { return chunk->finished; });
    });
    throw;
  }
}
