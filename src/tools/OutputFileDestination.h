// A command-line output (a regular file under its temporary name, standard
// output, a pipe or a device) as the wave writer's destination. Such an
// output is written straight through, so the writer announces the final
// length in the header it writes first.
#pragma once

#include "cli/OutputFile.h"
#include "wave/WaveWriter.h"

class OutputFileDestination final : public WaveWriter::Destination {
public:
  explicit OutputFileDestination(cli::OutputFile& output) : output_(output) {}

  bool Append(const void* bytes, std::size_t size) override { return output_.Write(bytes, size); }
  bool OverwriteStart(const void*, std::size_t) override { return false; }
  std::string Failure() const override { return output_.error(); }

private:
  cli::OutputFile& output_;
};
