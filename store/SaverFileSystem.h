// The file steps of a background save, behind one small interface so that
// a test can make any single step fail and watch what the saver does then.
// The real implementation is the platform's.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace vellumio {

class ISaverFile {
public:
  virtual ~ISaverFile() = default;
  virtual void Write(const void* data, size_t size) = 0;
  virtual void Flush() = 0;
  virtual void Close() = 0;
};

class ISaverFileSystem {
public:
  virtual ~ISaverFileSystem() = default;
  // The folder and every missing parent.
  virtual void CreateFolders(const std::u16string& folder) = 0;
  // Creates or truncates; the program alone holds the file until Close.
  virtual std::unique_ptr<ISaverFile> Create(const std::u16string& path) = 0;
  // Replaces `to`, writing through to the disk. Throws
  // platform::FileBusyError when another program holds a file for a moment.
  virtual void MoveReplacing(const std::u16string& from, const std::u16string& to) = 0;
  // Best effort: a leftover temporary file is overwritten by the next save.
  virtual void Remove(const std::u16string& path) = 0;
};

// The platform's files (one shared instance; it keeps no state).
ISaverFileSystem& RealSaverFileSystem();

}  // namespace vellumio
