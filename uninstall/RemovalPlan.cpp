#include "uninstall/RemovalPlan.h"

#include <algorithm>

namespace vellumio {

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

char16_t Folded(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The length of the root part: "C:\" -> 3, "\\server\share\" -> up to and
// including the separator after the share; 0 when there is none.
size_t RootLength(const std::u16string& path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsSeparator(path[2])) return 3;
  if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1]) || IsSeparator(path[2]))
    return 0;
  // "\\server\share": the root ends after the share name.
  const size_t server = path.find_first_of(u"\\/", 2);
  if (server == std::u16string::npos || server + 1 >= path.size() || IsSeparator(path[server + 1]))
    return 0;
  const size_t share = path.find_first_of(u"\\/", server + 1);
  return share == std::u16string::npos ? path.size() : share + 1;
}

std::u16string WithoutTrailingSeparators(std::u16string path) {
  while (!path.empty() && IsSeparator(path.back())) path.pop_back();
  return path;
}

// Splits below the root; true when a step is empty, "." or "..".
bool HasDotSteps(const std::u16string& path, size_t from) {
  size_t start = from;
  while (start < path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::u16string_view step(path.data() + start, end - start);
    if (step == u"." || step == u"..") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

bool IsDriveRoot(const std::u16string& path) {
  if (path.size() == 2 && IsDriveLetter(path[0]) && path[1] == u':') return true;
  const size_t root = RootLength(path);
  if (root == 0) return false;
  return std::all_of(path.begin() + static_cast<std::ptrdiff_t>(root), path.end(), IsSeparator);
}

bool IsAbsolutePath(const std::u16string& path) { return RootLength(path) != 0; }

bool IsRemovableFolder(const std::u16string& path) {
  if (!IsAbsolutePath(path) || IsDriveRoot(path)) return false;
  return !HasDotSteps(path, RootLength(path));
}

bool IsWithinFolder(const std::u16string& path, const std::u16string& folder) {
  const std::u16string base = WithoutTrailingSeparators(folder);
  const std::u16string item = WithoutTrailingSeparators(path);
  if (base.empty() || item.size() < base.size()) return false;
  for (size_t i = 0; i < base.size(); ++i) {
    const bool same = IsSeparator(base[i]) ? IsSeparator(item[i]) : Folded(base[i]) == Folded(item[i]);
    if (!same) return false;
  }
  return item.size() == base.size() || IsSeparator(item[base.size()]);
}

std::vector<std::u16string> RemovalFolders(const AppFolders& folders) {
  std::vector<std::u16string> result;
  for (const std::u16string* folder :
       {&folders.helpFolder, &folders.userDataFolder, &folders.languagesFolder, &folders.schemesFolder}) {
    if (!IsRemovableFolder(*folder)) continue;
    if (IsWithinFolder(folders.programFolder, *folder) || IsWithinFolder(folders.dataFolder, *folder))
      continue;
    result.push_back(*folder);
  }
  return result;
}

bool MayDeleteBelow(const std::u16string& root, const std::u16string& item) {
  if (!IsRemovableFolder(root) || !IsAbsolutePath(item) || HasDotSteps(item, RootLength(item)))
    return false;
  return IsWithinFolder(item, root) && WithoutTrailingSeparators(item).size() > WithoutTrailingSeparators(root).size();
}

}  // namespace vellumio
