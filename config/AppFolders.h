// The folders the program keeps its files in. The application object fills
// them at start-up from the shell's special folders (or, in portable mode,
// from the program's own folder); tests and tools point them anywhere.
// Every folder is stored with a trailing separator.
#pragma once

#include <string>

namespace vellumio {

struct AppFolders {
  std::u16string programFolder;  // where Vellumio.exe lives
  std::u16string dataFolder;     // the user's documents: new databases go here ("notes.sbn", "notes-#.sbn")
  std::u16string backupFolder;   // "Backup\" in the user data folder, or beside the program when portable
  std::u16string helpFolder;       // "Help\" beside the program
  std::u16string languagesFolder;  // "Languages\" beside the program
  std::u16string schemesFolder;    // "Schemes\" beside the program
  std::u16string userDataFolder;   // the user's application data + "Vellumio\"
};

// The folders of a run, from the program folder and the shell's documents
// and application-data folders. Without an application-data folder the
// user data lives in "AppData\" beside the program; in portable mode the
// backups go beside the program too.
AppFolders MakeAppFolders(const std::u16string& programFolder, const std::u16string& documentsFolder,
                          const std::u16string& appDataFolder, bool portable);

// Creates the folders that must exist (help, languages, schemes, user
// data, backup) with their missing parents. Failures are not reported
// here: they surface when a file is written there.
void CreateAppFolders(const AppFolders& folders);

// The folders in force (empty strings until set).
AppFolders Folders();  // a copy: the saver thread reads it too
void SetFolders(const AppFolders& folders);

// Appends the platform's separator unless the folder already ends in one
// (or is empty).
std::u16string WithTrailingSeparator(const std::u16string& folder);

}  // namespace vellumio
