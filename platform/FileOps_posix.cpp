// The file operations of the native build, over POSIX calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/Utf8.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"

namespace vellumio::platform {

namespace {

std::string Utf8Path(const std::u16string& path) { return ToUtf8(path); }

[[noreturn]] void ThrowErrno(const std::string& what, const std::u16string& path, int error) {
  throw std::runtime_error(what + " \"" + Utf8Path(path) + "\": " + std::strerror(error));
}

// A descriptor that closes itself.
class Fd {
public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

private:
  int fd_;
};

void WriteAllTo(int fd, const void* data, size_t size, const std::u16string& path) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ThrowErrno("Cannot write", path, n < 0 ? errno : EIO);
    p += n;
    size -= static_cast<size_t>(n);
  }
}

class PosixFileWriter final : public FileWriter {
public:
  PosixFileWriter(int fd, std::u16string path) : fd_(fd), path_(std::move(path)) {}

  void Write(const void* data, size_t size) override {
    if (fd_.Get() < 0) ThrowErrno("Cannot write", path_, EBADF);
    WriteAllTo(fd_.Get(), data, size, path_);
  }
  void Flush() override {
    if (fd_.Get() < 0 || fsync(fd_.Get()) != 0) ThrowErrno("Cannot flush", path_, errno);
  }
  void Close() override {
    const int fd = fd_.Release();
    if (fd >= 0 && close(fd) != 0) ThrowErrno("Cannot close", path_, errno);
  }

private:
  Fd fd_;
  std::u16string path_;
};

// Makes a rename durable: without it a crash can leave the folder entry
// pointing at the old file although the call returned. Some file systems
// cannot sync a folder at all; that is not a failure of the move.
void SyncFolderOf(const std::u16string& path) {
  const std::string folder = Utf8Path(ExtractFileDir(path));
  Fd fd(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) fsync(fd.Get());
}

}  // namespace

void CopyFileReplacing(const std::u16string& from, const std::u16string& to) {
  Fd in(open(Utf8Path(from).c_str(), O_RDONLY | O_CLOEXEC));
  if (in.Get() < 0) ThrowErrno("Cannot copy", from, errno);
  struct stat st {};
  if (fstat(in.Get(), &st) != 0) ThrowErrno("Cannot copy", from, errno);
  Fd out(open(Utf8Path(to).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (out.Get() < 0) ThrowErrno("Cannot create", to, errno);
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = read(in.Get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ThrowErrno("Cannot read", from, errno);
    if (n == 0) break;
    WriteAllTo(out.Get(), buffer.data(), static_cast<size_t>(n), to);
  }
  const timespec times[2] = {st.st_atim, st.st_mtim};
  if (futimens(out.Get(), times) != 0) ThrowErrno("Cannot set the time of", to, errno);
  if (close(out.Release()) != 0) ThrowErrno("Cannot close", to, errno);
}

void RenameFile(const std::u16string& from, const std::u16string& to) {
  // Plain rename would silently replace an existing `to`.
  const std::string source = Utf8Path(from), target = Utf8Path(to);
  if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return;
  if (errno != EINVAL && errno != ENOSYS) ThrowErrno("Cannot rename", from, errno);
  // A file system without the flag: a hard link fails on an existing name too.
  if (link(source.c_str(), target.c_str()) != 0) ThrowErrno("Cannot rename", from, errno);
  if (unlink(source.c_str()) != 0) ThrowErrno("Cannot rename", from, errno);
}

void DeleteFileIfExists(const std::u16string& path) {
  if (unlink(Utf8Path(path).c_str()) != 0 && errno != ENOENT)
    ThrowErrno("Cannot delete", path, errno);
}

std::optional<uint64_t> FileSize(const std::u16string& path) {
  struct stat st {};
  if (path.empty() || stat(Utf8Path(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode))
    return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

std::unique_ptr<FileWriter> CreateOrTruncate(const std::u16string& path) {
  const int fd = open(Utf8Path(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) ThrowErrno("Cannot create", path, errno);
  return std::make_unique<PosixFileWriter>(fd, path);
}

void MoveFileReplacing(const std::u16string& from, const std::u16string& to) {
  if (rename(Utf8Path(from).c_str(), Utf8Path(to).c_str()) != 0) {
    ThrowErrno("Cannot move", from, errno);
  }
  SyncFolderOf(to);
}

}  // namespace vellumio::platform
