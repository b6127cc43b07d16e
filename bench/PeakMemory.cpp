#include "bench/PeakMemory.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "base/Utf8.h"
#include "store/uNotesList.h"

namespace vellumio::bench {

namespace {

uint64_t VmHWMKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6));
  }
  return 0;
}

}  // namespace

int LoadOnlyChild(const std::string& path) {
  TNoteListCollection db(false);
  db.LoadFromFile(FromUtf8(path));
  std::printf("VmHWM %llu\n", static_cast<unsigned long long>(VmHWMKilobytes()));
  std::fflush(stdout);
  return 0;
}

uint64_t PeakMemoryOfLoading(const std::string& path) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return 0;
  pid_t child = fork();
  if (child == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execl("/proc/self/exe", "store_bench", kLoadOnlyArgument, path.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  std::string output;
  char buffer[256];
  ssize_t n;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
    output.append(buffer, static_cast<size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  unsigned long long kilobytes = 0;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 0;
  if (std::sscanf(output.c_str(), "VmHWM %llu", &kilobytes) != 1) return 0;
  return kilobytes * 1024;
}

}  // namespace vellumio::bench
