#include <windows.h>

#include <stdexcept>

#include "base/Utf8.h"
#include "tests/support/ChildProcess.h"

namespace vellumio::test {

namespace {

// Quotes an argument the way the C runtime splits a command line.
std::wstring Quote(const std::string& argument) {
  const std::u16string u = FromUtf8(argument);
  std::wstring in(u.begin(), u.end()), out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : in) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

}  // namespace

struct ChildProcess::Impl {
  PROCESS_INFORMATION info{};
  bool killed = false;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
    : impl_(std::make_unique<Impl>()) {
  std::wstring command = Quote(program);
  for (const auto& a : arguments) command += L" " + Quote(a);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  const std::u16string exe = FromUtf8(program);
  if (!CreateProcessW(reinterpret_cast<const wchar_t*>(exe.c_str()), command.data(), nullptr,
                      nullptr, FALSE, 0, nullptr, nullptr, &startup, &impl_->info)) {
    throw std::runtime_error("CreateProcess failed for " + program + ": error " +
                             std::to_string(GetLastError()));
  }
  CloseHandle(impl_->info.hThread);
}

ChildProcess::~ChildProcess() {
  Kill();
  CloseHandle(impl_->info.hProcess);
}

void ChildProcess::Kill() {
  if (WaitForSingleObject(impl_->info.hProcess, 0) == WAIT_OBJECT_0) return;
  TerminateProcess(impl_->info.hProcess, 9);
  WaitForSingleObject(impl_->info.hProcess, INFINITE);
  impl_->killed = true;
}

bool ChildProcess::Running() {
  return WaitForSingleObject(impl_->info.hProcess, 0) == WAIT_TIMEOUT;
}

int ChildProcess::Wait() {
  WaitForSingleObject(impl_->info.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(impl_->info.hProcess, &code);
  return impl_->killed ? -1 : static_cast<int>(code);
}

}  // namespace vellumio::test
