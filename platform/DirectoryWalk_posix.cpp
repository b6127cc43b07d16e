#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

#include "base/Utf8.h"
#include "platform/DirectoryWalk.h"

namespace vellumio::platform {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// d_type answers without a system call on the usual file systems; the rest
// (DT_UNKNOWN) need lstat. A link is examined once more to learn whether it
// points to a folder, but it is never entered.
void Classify(int dirFd, const dirent& entry, DirEntry& out) {
  unsigned char type = entry.d_type;
  struct stat st;
  if (type == DT_UNKNOWN && fstatat(dirFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
    type = S_ISLNK(st.st_mode) ? DT_LNK : S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
  }
  out.isLink = type == DT_LNK;
  out.isFolder = type == DT_DIR;
  if (out.isLink) out.isFolder = fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool ForEachEntry(const std::u16string& folder, const std::function<bool(const DirEntry&)>& visit) {
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : ToUtf8(folder).c_str()));
  if (!dir) return false;
  const int fd = dirfd(dir.get());
  DirEntry out;
  while (const dirent* entry = readdir(dir.get())) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    out.name = FromUtf8(entry->d_name);
    Classify(fd, *entry, out);
    if (!visit(out)) break;
  }
  return true;
}

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
  if (folder.empty() || folder.back() == u'/') return folder + name;
  return folder + u'/' + name;
}

std::vector<std::u16string> LogicalDriveRoots() { return {u"/"}; }

bool IsRootReady(const std::u16string& root) {
  bool any = false;
  const bool listed = ForEachEntry(root, [&](const DirEntry&) {
    any = true;
    return false;
  });
  return listed && any;
}

}  // namespace vellumio::platform
