// A named pipe (FIFO) with a reader on the other end, for tests of programs
// that write to one. Linux only.
#pragma once

#include <string>
#include <thread>

namespace testutil {

class NamedPipe {
public:
  explicit NamedPipe(std::string path); // made, with a reader waiting
  ~NamedPipe();
  NamedPipe(const NamedPipe&) = delete;
  NamedPipe& operator=(const NamedPipe&) = delete;

  bool ok() const { return made_; }
  const std::string& path() const { return path_; }
  // Everything written until the writer closed its end.
  const std::string& Received();

private:
  std::string path_;
  bool made_ = false;
  std::string received_;
  std::thread reader_;
};

} // namespace testutil
