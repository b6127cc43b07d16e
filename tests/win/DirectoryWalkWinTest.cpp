// The folder walk on the Win32 layer: junctions and symbolic links made
// with the system's own calls are reported as links and never entered, and
// the drive probe neither fails nor prompts for missing drives. (Wine makes
// neither kind of link; its own Unix links, which it reports as reparse
// points, are checked by tests/win/run_tool_tests.sh.)
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "platform/DirectoryWalk.h"
#include "store/DatabaseSearch.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;
namespace platform = vellumio::platform;

namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// The mount-point layout of REPARSE_DATA_BUFFER (the SDK keeps it in a
// driver header).
struct MountPointReparse {
  DWORD tag;
  WORD dataLength;
  WORD reserved;
  WORD substituteOffset, substituteLength, printOffset, printLength;
  wchar_t names[1024];
};

// Turns the empty folder `link` into a junction to `target`; false with
// the reason when the system refuses.
bool MakeJunction(const std::u16string& target, const std::u16string& link, std::string& why) {
  if (!CreateDirectoryW(W(link), nullptr)) {
    why = "cannot create the junction folder";
    return false;
  }
  const std::wstring print(reinterpret_cast<const wchar_t*>(target.c_str()));
  const std::wstring substitute = L"\\??\\" + print;
  MountPointReparse r{};
  r.tag = IO_REPARSE_TAG_MOUNT_POINT;
  r.substituteOffset = 0;
  r.substituteLength = static_cast<WORD>(substitute.size() * 2);
  r.printOffset = static_cast<WORD>(r.substituteLength + 2);
  r.printLength = static_cast<WORD>(print.size() * 2);
  std::memcpy(r.names, substitute.c_str(), substitute.size() * 2);
  std::memcpy(r.names + substitute.size() + 1, print.c_str(), print.size() * 2);
  r.dataLength = static_cast<WORD>(8 + r.printOffset + r.printLength + 2);
  HANDLE h = CreateFileW(W(link), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    why = "cannot open the junction folder";
    return false;
  }
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, &r, 8 + r.dataLength, nullptr, 0,
                                  &returned, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(h);
  if (!ok) why = "FSCTL_SET_REPARSE_POINT failed with error " + std::to_string(error);
  return ok != 0;
}

bool MakeSymbolicLink(const std::u16string& target, const std::u16string& link, std::string& why) {
  // 0x2: SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE (developer mode).
  if (!CreateSymbolicLinkW(W(link), W(target), SYMBOLIC_LINK_FLAG_DIRECTORY | 0x2)) {
    why = "CreateSymbolicLinkW failed with error " + std::to_string(GetLastError());
    return false;
  }
  // Wine's CreateSymbolicLinkW reports success and makes nothing.
  if (GetFileAttributesW(W(link)) == INVALID_FILE_ATTRIBUTES) {
    why = "CreateSymbolicLinkW reported success but made no link";
    return false;
  }
  return true;
}

std::u16string Join(const vellumio::test::TempFolder& dir, const char* a, const char* b = nullptr) {
  fs::path p = dir.Root() / a;
  if (b) p /= b;
  return p.make_preferred().u16string();
}

// Walks `root` and returns every file reported (each must come once).
std::multiset<std::u16string> WalkAll(const std::u16string& root) {
  std::atomic<bool> stop{false};
  std::multiset<std::u16string> found;
  vellumio::TDatabaseSearch search(stop, [&](vellumio::TDatabaseSearch::Batch&& batch) {
    found.insert(batch.begin(), batch.end());
  });
  search.Walk(root);
  return found;
}

using MakeLink = bool (*)(const std::u16string&, const std::u16string&, std::string&);

void ExpectLoopNotFollowed(MakeLink make) {
  vellumio::test::TempFolder dir("vellumio-walk-");
  fs::create_directories(dir.Path("a/b"));
  vellumio::test::WriteText(dir.Path("a/b/notes.sbn"), "x");
  std::string why;
  if (!make(Join(dir, "a"), Join(dir, "a", "b\\up"), why)) GTEST_SKIP() << why;

  bool sawLink = false;
  platform::ForEachEntry(Join(dir, "a", "b"), [&](const platform::DirEntry& e) {
    if (e.name == u"up") sawLink = e.isLink && e.isFolder;
    return true;
  });
  EXPECT_TRUE(sawLink);
  const auto found = WalkAll(dir.Root().u16string());
  EXPECT_EQ(found, (std::multiset<std::u16string>{Join(dir, "a", "b\\notes.sbn")}));
  RemoveDirectoryW(W(Join(dir, "a", "b\\up")));  // the link, not its target
}

TEST(DirectoryWalkWin, JunctionLoopIsNotFollowed) { ExpectLoopNotFollowed(MakeJunction); }

TEST(DirectoryWalkWin, SymbolicLinkLoopIsNotFollowed) { ExpectLoopNotFollowed(MakeSymbolicLink); }

TEST(DirectoryWalkWin, DriveRootsAndTheirReadiness) {
  wchar_t windows[MAX_PATH];
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 2u);
  const std::u16string systemRoot{static_cast<char16_t>(towupper(windows[0])), u':', u'\\'};
  const auto roots = platform::LogicalDriveRoots();
  EXPECT_NE(std::find(roots.begin(), roots.end(), systemRoot), roots.end());
  EXPECT_TRUE(platform::IsRootReady(systemRoot));

  // A letter that no drive uses: answered false, quietly.
  const DWORD drives = GetLogicalDrives();
  for (int i = 25; i >= 2; --i) {
    if (drives & (1u << i)) continue;
    const std::u16string missing{static_cast<char16_t>(u'A' + i), u':', u'\\'};
    EXPECT_FALSE(platform::IsRootReady(missing));
    break;
  }
}

}  // namespace
