#include <windows.h>

#include "platform/Win32Text_win.h"

#include "platform/DirectoryWalk.h"

namespace vellumio::platform {

namespace {

using platform::win::W;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Probing a drive that is not ready (an empty floppy or card reader) must
// fail quietly instead of asking the user to insert a disk.
class QuietErrors {
public:
  QuietErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
  ~QuietErrors() { SetErrorMode(old_); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;

private:
  UINT old_;
};

class FindHandle {
public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return h_; }

private:
  HANDLE h_;
};

bool IsDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

}  // namespace

bool ForEachEntry(const std::u16string& folder, const std::function<bool(const DirEntry&)>& visit) {
  const std::u16string pattern = JoinPath(folder.empty() ? u"." : folder, u"*");
  WIN32_FIND_DATAW data;
  // The basic information level skips the short 8.3 names, and large
  // fetches fewer round trips on network drives.
  FindHandle find(FindFirstFileExW(W(pattern), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (find.get() == INVALID_HANDLE_VALUE) return false;
  DirEntry out;
  do {
    if (IsDotName(data.cFileName)) continue;
    out.name = reinterpret_cast<const char16_t*>(data.cFileName);
    out.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    out.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (!visit(out)) break;
  } while (FindNextFileW(find.get(), &data));
  return true;
}

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
  if (folder.empty() || IsSeparator(folder.back())) return folder + name;
  return folder + u'\\' + name;
}

std::vector<std::u16string> LogicalDriveRoots() {
  std::vector<std::u16string> roots;
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (drives & (1u << i))
      roots.push_back(std::u16string{static_cast<char16_t>(u'A' + i), u':', u'\\'});
  }
  return roots;
}

bool IsRootReady(const std::u16string& root) {
  QuietErrors quiet;
  bool any = false;
  const bool listed = ForEachEntry(root, [&](const DirEntry&) {
    any = true;
    return false;
  });
  return listed && any;
}

}  // namespace vellumio::platform
