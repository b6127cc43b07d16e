#include "uninstall/TreeRemoval_win.h"

#include <windows.h>

#include "platform/DirectoryWalk.h"
#include "platform/Win32Text_win.h"
#include "uninstall/RemovalPlan.h"

namespace vellumio {

namespace {

using platform::win::FromWide;
using platform::win::WideString;

constexpr wchar_t kSettingsKey[] = L"Software\\Vellumio";

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

void MakeWritable(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

// Deletes a junction or symbolic link itself. Wine shows Unix links as
// reparse points but follows them on every open, so that RemoveDirectory
// or a delete through the link would remove an empty target instead: the
// link is deleted only through a handle that is provably the link's own
// (marked as a reparse point, and not the same file as what the path
// leads to). Otherwise the link stays, and so does its folder.
void RemoveLink(const std::wstring& path) {
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const HANDLE link = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (link == INVALID_HANDLE_VALUE) return;
  BY_HANDLE_FILE_INFORMATION own{};
  bool safe = GetFileInformationByHandle(link, &own) && IsLink(own.dwFileAttributes);
  const HANDLE target = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (target != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION followed{};
    if (!GetFileInformationByHandle(target, &followed) || SameFile(own, followed)) safe = false;
    CloseHandle(target);
  }
  if (safe) {
    FILE_DISPOSITION_INFO remove{TRUE};
    SetFileInformationByHandle(link, FileDispositionInfo, &remove, sizeof remove);
  }
  CloseHandle(link);
}

// Links are never entered: only the link itself goes.
void RemoveBelow(const std::u16string& root, const std::u16string& folder) {
  platform::ForEachEntry(folder, [&](const platform::DirEntry& entry) {
    const std::u16string path = platform::JoinPath(folder, entry.name);
    if (!MayDeleteBelow(root, path)) return true;
    const std::wstring wide = WideString(path);
    if (entry.isLink) {
      RemoveLink(wide);
    } else if (entry.isFolder) {
      RemoveBelow(root, path);
      MakeWritable(wide);
      RemoveDirectoryW(wide.c_str());
    } else {
      MakeWritable(wide);
      DeleteFileW(wide.c_str());
    }
    return true;
  });
}

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

void RemoveFolderTree(const std::u16string& root) {
  if (!IsRemovableFolder(root)) return;
  const std::wstring folder = WithoutTrailingSeparator(WideString(root));
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  // The folder itself may be a link (a data folder moved elsewhere): only
  // the link goes.
  if (IsLink(attributes)) {
    RemoveLink(folder);
    return;
  }
  RemoveBelow(root, FromWide(folder));
  MakeWritable(folder);
  RemoveDirectoryW(folder.c_str());
}

void RemoveUserData(const AppFolders& folders) {
  for (const std::u16string& folder : RemovalFolders(folders)) RemoveFolderTree(folder);
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
}

}  // namespace vellumio
