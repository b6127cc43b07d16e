// What a complete removal may delete. The uninstall dialog deletes whole
// folder trees, so every path it touches is checked here first: a wrong
// folder (an empty setting, a drive root, the user's documents) would
// otherwise cost the user far more than the program's own files.
//
// Pure functions on Windows paths ("C:\x\", "\\server\share\x\"), so that
// the native tests cover them.
#pragma once

#include <string>
#include <vector>

#include "config/AppFolders.h"

namespace vellumio {

// "C:", "C:\", "\\server\share\" and the like: a folder that is a whole
// drive, never removed nor emptied.
bool IsDriveRoot(const std::u16string& path);
// A path from a drive letter ("C:\...") or a share ("\\server\share\...");
// anything else depends on the current folder.
bool IsAbsolutePath(const std::u16string& path);
// A folder the removal may delete as a whole: absolute, below a drive root,
// without "." or ".." steps that could lead out of it.
bool IsRemovableFolder(const std::u16string& path);
// True when `path` is `folder` itself or lies below it (case-insensitive,
// as Windows compares names; "C:\ab" is not below "C:\a").
bool IsWithinFolder(const std::u16string& path, const std::u16string& folder);

// The folders a complete removal deletes, in order: help, user data (with
// the backups), languages, schemes. Left out are folders that fail
// IsRemovableFolder and folders that hold the program folder or the
// documents folder (the user's own files live there).
std::vector<std::u16string> RemovalFolders(const AppFolders& folders);

// True when an item found while deleting the tree of `root` may go: it
// lies strictly below `root`, and `root` is removable.
bool MayDeleteBelow(const std::u16string& root, const std::u16string& item);

}  // namespace vellumio
