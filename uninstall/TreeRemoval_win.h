// Deleting the user's data on a complete removal: folder trees and the
// settings key. Errors are skipped (a file in use stays, and so does the
// folder that holds it); nothing is reported.
#pragma once

#include <string>

#include "config/AppFolders.h"

namespace vellumio {

// Deletes everything below `root` and then `root` itself, unless `root`
// fails IsRemovableFolder. Junctions and symbolic links are removed as
// links: what they point to is never entered, so a "Backup" linked to
// another drive keeps its files. Read-only files are made writable first.
void RemoveFolderTree(const std::u16string& root);

// The complete removal: the folders of RemovalFolders in their order, then
// the settings key HKEY_CURRENT_USER\Software\Vellumio with all below it.
// Each step runs whatever became of the previous one.
void RemoveUserData(const AppFolders& folders);

}  // namespace vellumio
