// The numbered backup copies of a database file in the backup folder:
// "<folder><database name>.0" (the newest) to ".6", refreshed by the
// background saver at most once per 15 minutes; ".daily" and ".weekly" are
// recognised (by the restore dialog too) but never written.
#pragma once

#include <array>
#include <string>

namespace vellumio {

struct SnapshotFacts;

// In the order in which they are examined.
inline constexpr std::array<const char16_t*, 9> kBackupSuffixes = {
    u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"daily", u"weekly"};
inline constexpr int kBackupGenerations = 7;
// At most one new generation per this many days (15 minutes).
inline constexpr double kBackupInterval = 1.0 / 96.0;

// The database file's name without its folder.
std::u16string FileNameOf(const std::u16string& path);

// backupFolder (a separator added when missing) + the database's file name
// + "." + suffix.
std::u16string BackupName(const std::u16string& databasePath, const std::u16string& backupFolder,
                          const std::u16string& suffix);

// The latest last-modification time among the nine backups that exist; 0
// when there is none.
double NewestBackupTime(const std::u16string& databasePath, const std::u16string& backupFolder);

// Shifts the generations up by one (the oldest of `count` falls off) and
// copies the database file to generation "0". Does nothing when the
// database file is missing, when the saved state is a single empty list
// (it must never push real backups out), or when the newest backup is less
// than 15 minutes old by the program's clock. Throws
// "Unable to create backup files.\n<reason>" when a file step fails.
void RotateBackups(const std::u16string& databasePath, const std::u16string& backupFolder,
                   int count, const SnapshotFacts& facts);

}  // namespace vellumio
