// The commands of `vellumio-db`, callable in-process so that tests run them
// without starting a program.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vellumio {

// Exit codes of the tool.
enum DbToolExit : int { kDbToolOk = 0, kDbToolFailed = 1, kDbToolUsage = 2 };

// `args` are the command-line arguments after the program name. Output goes
// to `out` (UTF-8), messages to `err`; the result is the exit code. Creates
// the process's main database for the duration of the call, so no other
// full database may be alive in the caller.
int RunDbTool(const std::vector<std::u16string>& args, std::ostream& out, std::ostream& err);

}  // namespace vellumio
