// File operations beyond reading and replacing a whole file: the saver's
// steps, the backup rotation and the restore step use them. Every function
// throws std::runtime_error with a one-line reason naming the path on
// failure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vellumio::platform {

// Copies, replacing `to` when it exists.
void CopyFileReplacing(const std::u16string& from, const std::u16string& to);
// Renames; fails when `to` exists.
void RenameFile(const std::u16string& from, const std::u16string& to);
// Deletes a file; a missing file is no error.
void DeleteFileIfExists(const std::u16string& path);
// The size in bytes; empty when the file cannot be examined.
std::optional<uint64_t> FileSize(const std::u16string& path);

}  // namespace vellumio::platform
