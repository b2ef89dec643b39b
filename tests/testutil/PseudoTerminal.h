// A pseudo-terminal for tests of what programs do on a terminal: a program
// runs with it as its controlling terminal and standard streams, or a test
// writes to its terminal side directly; the test reads the screen's bytes and
// types keys. Linux only.
#pragma once

#include <cstdio>
#include <string>

namespace testutil {

class PseudoTerminal {
public:
  explicit PseudoTerminal(int columns = 80, int rows = 24);
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool ok() const { return master_ >= 0 && slave_ >= 0; }

  // Runs the command through /bin/sh in `folder`.
  bool Start(const std::string& command, const std::string& folder);
  // Reads until the text has appeared; false after the timeout.
  bool WaitFor(const std::string& text, int timeoutMs = 10000);
  // Keys as typed, e.g. "\x03" for Ctrl-C.
  void Type(const std::string& keys);
  // The exit status (128 + the signal for a program a signal ended), or -1
  // after the timeout (the program is then killed).
  int Wait(int timeoutMs = 10000);

  // The terminal side as a stream, for drawing on it in-process.
  std::FILE* stream();
  // Everything written to the terminal so far.
  const std::string& screen();
  // The terminal's echo setting, as a shell would find it.
  bool EchoOn() const;

private:
  void Read(int timeoutMs);

  int master_ = -1;
  int slave_ = -1;
  int child_ = -1;
  std::FILE* stream_ = nullptr;
  std::string screen_;
};

} // namespace testutil
