#include "config/AppFolders.h"

#include <mutex>

#include "platform/Platform.h"

namespace vellumio {

namespace {
std::mutex g_lock;  // the saver thread reads the backup folder
AppFolders g_folders;

#ifdef _WIN32
constexpr char16_t kSeparator = u'\\';
#else
constexpr char16_t kSeparator = u'/';
#endif
}  // namespace

AppFolders Folders() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_folders;
}

void SetFolders(const AppFolders& folders) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_folders.programFolder = WithTrailingSeparator(folders.programFolder);
  g_folders.dataFolder = WithTrailingSeparator(folders.dataFolder);
  g_folders.backupFolder = WithTrailingSeparator(folders.backupFolder);
  g_folders.helpFolder = WithTrailingSeparator(folders.helpFolder);
  g_folders.languagesFolder = WithTrailingSeparator(folders.languagesFolder);
  g_folders.schemesFolder = WithTrailingSeparator(folders.schemesFolder);
  g_folders.userDataFolder = WithTrailingSeparator(folders.userDataFolder);
}

AppFolders MakeAppFolders(const std::u16string& programFolder, const std::u16string& documentsFolder,
                          const std::u16string& appDataFolder, bool portable) {
  const auto sub = [](const std::u16string& folder, std::u16string_view name) {
    return WithTrailingSeparator(WithTrailingSeparator(folder) + std::u16string(name));
  };
  AppFolders f;
  f.programFolder = WithTrailingSeparator(programFolder);
  f.dataFolder = WithTrailingSeparator(documentsFolder);
  f.helpFolder = sub(f.programFolder, u"Help");
  f.languagesFolder = sub(f.programFolder, u"Languages");
  f.schemesFolder = sub(f.programFolder, u"Schemes");
  f.userDataFolder = appDataFolder.empty() ? sub(f.programFolder, u"AppData")
                                           : sub(appDataFolder, u"Vellumio");
  f.backupFolder = sub(portable ? f.programFolder : f.userDataFolder, u"Backup");
  return f;
}

void CreateAppFolders(const AppFolders& folders) {
  for (const std::u16string* folder : {&folders.helpFolder, &folders.languagesFolder,
                                       &folders.schemesFolder, &folders.userDataFolder,
                                       &folders.backupFolder}) {
    if (folder->empty()) continue;
    try {
      platform::ForceDirectories(*folder);
    } catch (const std::exception&) {
      // Reported when something is written there.
    }
  }
}

std::u16string WithTrailingSeparator(const std::u16string& folder) {
  if (folder.empty() || folder.back() == u'\\' || folder.back() == u'/') return folder;
  return folder + kSeparator;
}

}  // namespace vellumio
