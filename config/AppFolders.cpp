#include "config/AppFolders.h"

#include <mutex>

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
}

std::u16string WithTrailingSeparator(const std::u16string& folder) {
  if (folder.empty() || folder.back() == u'\\' || folder.back() == u'/') return folder;
  return folder + kSeparator;
}

}  // namespace vellumio
