#include "store/Backups.h"

#include <algorithm>
#include <stdexcept>

#include "base/Clock.h"
#include "config/AppFolders.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "store/SnapshotSaver.h"

namespace vellumio {

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool TooSoon(const std::u16string& databasePath, const std::u16string& backupFolder) {
  const double newest = NewestBackupTime(databasePath, backupFolder);
  return newest != 0 && Now() - newest < kBackupInterval;
}

void ShiftGenerations(const std::u16string& databasePath, const std::u16string& folder, int count) {
  for (int i = count - 2; i >= 0; --i) {
    const std::u16string older = BackupName(databasePath, folder, kBackupSuffixes[i]);
    if (!platform::FileExists(older)) continue;
    const std::u16string newer = BackupName(databasePath, folder, kBackupSuffixes[i + 1]);
    platform::DeleteFileIfExists(newer);
    platform::RenameFile(older, newer);
  }
}

// Copied under a temporary name and then renamed, so that a crash during
// the copy never leaves a truncated generation "0" behind.
void CopyNewest(const std::u16string& databasePath, const std::u16string& folder) {
  const std::u16string newest = BackupName(databasePath, folder, kBackupSuffixes[0]);
  const std::u16string partial = newest + u".$tmp";
  platform::CopyFileReplacing(databasePath, partial);
  platform::MoveFileReplacing(partial, newest);
}

}  // namespace

std::u16string FileNameOf(const std::u16string& path) {
  size_t start = path.size();
  while (start > 0 && !IsSeparator(path[start - 1])) --start;
  return path.substr(start);
}

std::u16string BackupName(const std::u16string& databasePath, const std::u16string& backupFolder,
                          const std::u16string& suffix) {
  return WithTrailingSeparator(backupFolder) + FileNameOf(databasePath) + u"." + suffix;
}

double NewestBackupTime(const std::u16string& databasePath, const std::u16string& backupFolder) {
  double newest = 0;
  for (const char16_t* suffix : kBackupSuffixes) {
    if (auto time = platform::FileModifiedTime(BackupName(databasePath, backupFolder, suffix))) {
      newest = std::max(newest, *time);
    }
  }
  return newest;
}

void RotateBackups(const std::u16string& databasePath, const std::u16string& backupFolder,
                   int count, const SnapshotFacts& facts) {
  if (!platform::FileExists(databasePath) || facts.singleEmptyList()) return;
  if (TooSoon(databasePath, backupFolder)) return;
  try {
    platform::ForceDirectories(backupFolder);
    ShiftGenerations(databasePath, backupFolder, std::clamp(count, 1, kBackupGenerations));
    CopyNewest(databasePath, backupFolder);
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("Unable to create backup files.\n") + e.what());
  }
}

}  // namespace vellumio
