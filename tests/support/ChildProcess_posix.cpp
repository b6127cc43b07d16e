#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "tests/support/ChildProcess.h"

namespace vellumio::test {

struct ChildProcess::Impl {
  pid_t pid = -1;
  int status = 0;
  bool reaped = false;

  bool Reap(bool block) {
    if (reaped) return true;
    for (;;) {
      const pid_t r = waitpid(pid, &status, block ? 0 : WNOHANG);
      if (r == pid) return reaped = true;
      if (r == 0) return false;
      if (errno != EINTR) return reaped = true;
    }
  }
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
    : impl_(std::make_unique<Impl>()) {
  std::vector<std::string> args{program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  impl_->pid = fork();
  if (impl_->pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
  if (impl_->pid == 0) {
    execv(program.c_str(), argv.data());
    _exit(127);
  }
}

ChildProcess::~ChildProcess() { Kill(); }

void ChildProcess::Kill() {
  if (impl_->reaped) return;
  kill(impl_->pid, SIGKILL);
  impl_->Reap(true);
}

bool ChildProcess::Running() { return !impl_->Reap(false); }

int ChildProcess::Wait() {
  impl_->Reap(true);
  return WIFEXITED(impl_->status) ? WEXITSTATUS(impl_->status) : -1;
}

}  // namespace vellumio::test
