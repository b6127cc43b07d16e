// The folders the program keeps its files in. The application object fills
// them at start-up from the shell's special folders (or, in portable mode,
// from the program's own folder); tests and tools point them anywhere.
// Every folder is stored with a trailing separator.
#pragma once

#include <string>

namespace vellumio {

struct AppFolders {
  std::u16string programFolder;  // where Vellumio.exe lives
  std::u16string dataFolder;     // where new databases go ("notes.sbn", "notes-#.sbn")
  std::u16string backupFolder;   // "Backup\" in the data folder, or beside the program when portable
};

// The folders in force (empty strings until set).
AppFolders Folders();  // a copy: the saver thread reads it too
void SetFolders(const AppFolders& folders);

// Appends the platform's separator unless the folder already ends in one
// (or is empty).
std::u16string WithTrailingSeparator(const std::u16string& folder);

}  // namespace vellumio
