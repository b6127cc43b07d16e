// File operations beyond reading and replacing a whole file: the saver's
// steps, the backup rotation and the restore step use them. Every function
// throws std::runtime_error with a one-line reason naming the path on
// failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace vellumio::platform {

// Thrown instead of a plain std::runtime_error when another program holds
// the file for a moment (a sharing violation or access denied on Windows):
// such refusals usually go away if the caller tries again shortly.
class FileBusyError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Copies, replacing `to` when it exists. The copy keeps the source's
// last-modification time on every platform, as Windows' CopyFile does.
void CopyFileReplacing(const std::u16string& from, const std::u16string& to);
// Renames; fails when `to` exists.
void RenameFile(const std::u16string& from, const std::u16string& to);
// Deletes a file; a missing file is no error.
void DeleteFileIfExists(const std::u16string& path);
// The size in bytes; empty when the file cannot be examined.
std::optional<uint64_t> FileSize(const std::u16string& path);

// A file opened for writing by this program alone. Close reports errors
// that the destructor (which also closes) would have to swallow.
class FileWriter {
public:
  virtual ~FileWriter() = default;
  // Writes every byte or throws.
  virtual void Write(const void* data, size_t size) = 0;
  // Pushes the data to the disk (fsync / FlushFileBuffers).
  virtual void Flush() = 0;
  virtual void Close() = 0;
};

// Creates the file or truncates an existing one; no other program may open
// it until it is closed.
std::unique_ptr<FileWriter> CreateOrTruncate(const std::u16string& path);

// Moves `from` onto `to`, replacing `to`, and returns only once the move is
// on the disk (MoveFileEx with MOVEFILE_REPLACE_EXISTING and
// MOVEFILE_WRITE_THROUGH; rename and a flush of the folder natively).
// Throws FileBusyError when the file is held by another program.
void MoveFileReplacing(const std::u16string& from, const std::u16string& to);

}  // namespace vellumio::platform
