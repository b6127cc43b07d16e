// The file operations of the Windows program, over the Win32 W APIs.
#include <windows.h>

#include "platform/Win32Text_win.h"

#include <algorithm>

#include "base/Utf8.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"

namespace vellumio::platform {

namespace {

using win::SystemMessage;
using win::W;

bool IsBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Throws for the error in GetLastError; a file held by another program is
// reported as FileBusyError so that the caller may try again.
[[noreturn]] void ThrowLastError(const std::string& what, const std::u16string& path) {
  const DWORD error = GetLastError();
  const std::string message = what + " \"" + ToUtf8(path) + "\": " + SystemMessage(error);
  if (IsBusy(error)) throw FileBusyError(message);
  throw std::runtime_error(message);
}

class WinFileWriter final : public FileWriter {
public:
  WinFileWriter(HANDLE h, std::u16string path) : h_(h), path_(std::move(path)) {}
  ~WinFileWriter() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  WinFileWriter(const WinFileWriter&) = delete;
  WinFileWriter& operator=(const WinFileWriter&) = delete;

  void Write(const void* data, size_t size) override {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
      DWORD written = 0;
      if (h_ == INVALID_HANDLE_VALUE || !WriteFile(h_, p, chunk, &written, nullptr) ||
          written == 0) {
        if (written == 0 && GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_WRITE_FAULT);
        ThrowLastError("Cannot write", path_);
      }
      p += written;
      size -= written;
    }
  }
  void Flush() override {
    if (h_ == INVALID_HANDLE_VALUE || !FlushFileBuffers(h_)) ThrowLastError("Cannot flush", path_);
  }
  void Close() override {
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    if (h != INVALID_HANDLE_VALUE && !CloseHandle(h)) ThrowLastError("Cannot close", path_);
  }

private:
  HANDLE h_;
  std::u16string path_;
};

}  // namespace

void CopyFileReplacing(const std::u16string& from, const std::u16string& to) {
  if (!CopyFileW(W(from), W(to), FALSE)) ThrowLastError("Cannot copy", from);
}

void RenameFile(const std::u16string& from, const std::u16string& to) {
  if (!MoveFileExW(W(from), W(to), 0)) ThrowLastError("Cannot rename", from);
}

void DeleteFileIfExists(const std::u16string& path) {
  if (DeleteFileW(W(path))) return;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
  SetLastError(error);
  ThrowLastError("Cannot delete", path);
}

std::optional<uint64_t> FileSize(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(W(path), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::unique_ptr<FileWriter> CreateOrTruncate(const std::u16string& path) {
  const HANDLE h = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) ThrowLastError("Cannot create", path);
  return std::make_unique<WinFileWriter>(h, path);
}

void MoveFileReplacing(const std::u16string& from, const std::u16string& to) {
  // WRITE_THROUGH: the call returns only once the move is on the disk.
  if (!MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowLastError("Cannot move", from);
  }
}

}  // namespace vellumio::platform
