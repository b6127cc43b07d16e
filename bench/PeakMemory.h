// Peak memory of loading, measured in a child process that does nothing
// else, so that the benchmark's own data does not count.
#pragma once

#include <cstdint>
#include <string>

namespace vellumio::bench {

// The argument that makes the benchmark program act as that child.
inline constexpr const char* kLoadOnlyArgument = "--load-only";

// Child side: loads `path`, prints "VmHWM <kB>" and returns the exit code.
int LoadOnlyChild(const std::string& path);

// Parent side: runs this program again with --load-only and returns the
// child's VmHWM in bytes (0 on failure).
uint64_t PeakMemoryOfLoading(const std::string& path);

}  // namespace vellumio::bench
