#include "config/FolderSetup.h"

#include <windows.h>

#include <shlobj.h>

#include <string>

#include "platform/Platform.h"
#include "platform/Win32Text_win.h"

namespace vellumio {

namespace {

using platform::win::FromWide;

// A shell special folder, or empty when the system has none (older systems
// and some service accounts have no application-data folder).
std::u16string ShellFolder(int csidl) {
  PIDLIST_ABSOLUTE items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return {};
  wchar_t path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListW(items, path) != FALSE;
  CoTaskMemFree(items);  // the shell's allocator
  return found ? FromWide(path) : std::u16string();
}

std::u16string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // a long path: try again with room
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::u16string() : FromWide(std::wstring_view(path).substr(0, slash + 1));
}

}  // namespace

AppFolders SystemFolders() {
  const std::u16string program = ProgramFolder();
  const bool portable = platform::FileExists(program + u"Vellumio.ini");
  return MakeAppFolders(program, ShellFolder(CSIDL_PERSONAL), ShellFolder(CSIDL_APPDATA), portable);
}

AppFolders SetUpSystemFolders() {
  const AppFolders folders = SystemFolders();
  SetFolders(folders);
  CreateAppFolders(folders);
  return folders;
}

}  // namespace vellumio
