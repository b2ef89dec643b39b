// How the engine reports to its front end. Called on the thread that runs the
// batch (never on the threads that encode chunks). OnProgress reports the
// progress of every chunk and stops the batch by throwing User_Cannceled.
#pragma once

#include <cstdint>

class EncoderCallbacks {
public:
  virtual ~EncoderCallbacks() = default;

  virtual void OnFileStart(const char* wavePath, const char* outputPath) = 0;
  // total: samples of the file over all channels; done: samples finished.
  virtual void OnProgress(std::uint64_t total, std::uint64_t done) = 0;
  virtual void OnFileEnd(std::uint64_t inputSize, std::uint64_t outputSize) = 0;
  // One message line; by default it goes to the process's log (Log.txt and
  // whatever shows the log).
  virtual void WriteLog(const char* line);
  // A file could not be encoded (after its log line): a short English reason
  // for front ends that name every failed file.
  virtual void OnFileFailed(const char* /*wavePath*/, const char* /*reason*/) {}
};
