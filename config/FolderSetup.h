// The folders of this run, fixed from the system before any window exists:
// the program's own folder, the shell's documents and application-data
// folders, and portable mode (a "Vellumio.ini" beside the program).
#pragma once

#include "config/AppFolders.h"

namespace vellumio {

#ifdef _WIN32
// The folders as the shell gives them, neither put in force nor created
// (the uninstall dialog must not create what it is about to delete).
AppFolders SystemFolders();
// Reads the shell's folders, puts the result in force (SetFolders) and
// creates the folders that must exist.
AppFolders SetUpSystemFolders();
#endif

}  // namespace vellumio
