// The restore search's collector and the restore step. The collector walks
// the database's folder, the backup folder and every ready drive on the
// search thread, loads the candidates on the main thread and keeps each
// content once; the restore step makes a chosen candidate the working
// database. The restore dialog only shows what these find.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/DatabaseInfo.h"

namespace vellumio {

class TSearchThread;

class TDatabaseRestore {
public:
  // `folder`: the folder of the configured database file; `backupFolder`:
  // the user's backup folder.
  TDatabaseRestore(std::u16string folder, std::u16string backupFolder);

  // Called on the main thread for each new distinct candidate.
  std::function<void(const TDatabaseInfo&)> OnAdd;
  // The drive roots FindAll walks after the two folders; the platform's
  // logical drives unless replaced (tests never walk a real disk).
  std::function<std::vector<std::u16string>()> DriveRoots;

  // On the search thread: Scan the folder, the backup folder, then every
  // ready drive root that is neither of them.
  void FindAll(TSearchThread& thread);
  // On the search thread: walks the tree and hands the candidate names to
  // the main thread, where AddFile runs for each. Trees walked by earlier
  // scans are not entered again.
  void Scan(const std::u16string& folder, TSearchThread& thread);
  // On the main thread: loads the file and keeps it when it is a database
  // whose content is not yet known. True when it was added.
  bool AddFile(const std::u16string& path);

  const std::u16string& Folder() const { return folder_; }
  const std::vector<std::unique_ptr<TDatabaseInfo>>& Infos() const { return infos_; }

private:
  std::u16string folder_;
  std::u16string backupFolder_;
  std::vector<std::u16string> scanned_;  // search thread only
  std::vector<std::unique_ptr<TDatabaseInfo>> infos_;
};

// Where the restore step records the database to open from now on (the
// `DatabaseFile` setting).
class IDatabaseFileSetting {
public:
  virtual ~IDatabaseFileSetting() = default;
  virtual void SetDatabaseFile(const std::u16string& path) = 0;
};

// The path with ".sbn" appended unless it already ends so (any case).
std::u16string WithDatabaseExtension(const std::u16string& path);

// The first name from `pattern` (holding one "#", replaced by 1, 2, 3, ...)
// for which no file exists in `folder`. Throws std::invalid_argument for a
// pattern without "#".
std::u16string FirstFreeName(const std::u16string& folder, const std::u16string& pattern);

// True when `copy` is as long as `source` and loads as a database: a copy
// cut short (a full disk) or damaged gives false.
bool IsWholeCopy(const std::u16string& source, const std::u16string& copy);

// Copies `source` to the first free "notes-#.sbn" in `dataFolder`, renames
// the source by appending "~" and points the setting at the copy, whose
// path it returns. A failed copy, or one that does not read back as a
// database, throws and changes nothing else.
std::u16string RestoreDatabase(const std::u16string& source, const std::u16string& dataFolder,
                               IDatabaseFileSetting& setting);

}  // namespace vellumio
