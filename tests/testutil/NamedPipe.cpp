#if !defined(_WIN32)
#include "testutil/NamedPipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testutil {

NamedPipe::NamedPipe(std::string path) : path_(std::move(path)) {
  made_ = ::mkfifo(path_.c_str(), 0600) == 0;
  if (!made_) return;
  reader_ = std::thread([this] {
    const int fd = ::open(path_.c_str(), O_RDONLY);
    if (fd < 0) return;
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
      received_.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
  });
}

NamedPipe::~NamedPipe() {
  if (!reader_.joinable()) return;
  // A reader still waiting for a writer is let go by one that writes nothing.
  const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
  if (fd >= 0) ::close(fd);
  reader_.join();
}

const std::string& NamedPipe::Received() {
  if (reader_.joinable()) reader_.join();
  return received_;
}

} // namespace testutil
#endif
