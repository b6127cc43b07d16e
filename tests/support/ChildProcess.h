// A helper program started by a test and killed at a moment the test
// chooses (fork/exec and SIGKILL natively, CreateProcessW and
// TerminateProcess on Windows), for the crash-consistency test of saving.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vellumio::test {

class ChildProcess {
public:
  // Throws std::runtime_error when the program cannot be started.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
  // Kills the child if it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Kills at once (no chance to clean up) and waits until it is gone.
  void Kill();
  // True while the child runs.
  bool Running();
  // Waits for the end; the exit code, or -1 when it was killed.
  int Wait();

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vellumio::test
