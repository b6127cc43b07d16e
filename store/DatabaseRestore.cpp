#include "store/DatabaseRestore.h"

#include <optional>
#include <stdexcept>

#include "base/Utf8.h"
#include "platform/DirectoryWalk.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "store/DatabaseSearch.h"
#include "store/NoteListCollection.h"

namespace vellumio {

namespace {

const char16_t kRestorePattern[] = u"notes-#.sbn";

std::u16string Key(const std::u16string& folder) {
  std::u16string key = platform::LowerCase(folder);
  while (!key.empty() && (key.back() == u'\\' || key.back() == u'/')) key.pop_back();
  return key;
}

}  // namespace

TDatabaseRestore::TDatabaseRestore(std::u16string folder, std::u16string backupFolder)
    : DriveRoots(platform::LogicalDriveRoots),
      folder_(std::move(folder)),
      backupFolder_(std::move(backupFolder)) {}

void TDatabaseRestore::FindAll(TSearchThread& thread) {
  if (!folder_.empty()) Scan(folder_, thread);
  if (!backupFolder_.empty()) Scan(backupFolder_, thread);
  const std::vector<std::u16string> roots =
      DriveRoots ? DriveRoots() : std::vector<std::u16string>{};
  for (const std::u16string& root : roots) {
    if (thread.Terminated()) return;
    if (!platform::IsRootReady(root)) continue;
    const std::u16string key = Key(root);
    if (key == Key(backupFolder_) || key == Key(folder_)) continue;
    Scan(root, thread);
  }
}

namespace {

// True when `folder` is one of `scanned` or lies inside one.
bool Covered(const std::u16string& folder, const std::vector<std::u16string>& scanned) {
  const std::u16string key = Key(folder);
  for (const auto& done : scanned) {
    const std::u16string outer = Key(done);
    if (key.compare(0, outer.size(), outer) != 0) continue;
    if (key.size() == outer.size() || key[outer.size()] == u'\\' || key[outer.size()] == u'/')
      return true;
  }
  return false;
}

}  // namespace

void TDatabaseRestore::Scan(const std::u16string& folder, TSearchThread& thread) {
  // The backup folder usually lies inside the data folder: walked already.
  if (Covered(folder, scanned_)) return;
  TDatabaseSearch search(thread.StopFlag(), [this, &thread](TDatabaseSearch::Batch&& batch) {
    thread.PostToMain([this, names = std::move(batch)] {
      for (const auto& name : names) AddFile(name);
    });
  });
  // Names that cannot be a database are dropped here rather than sent to
  // the main thread, which would only reject them: a drive holds millions.
  search.filter = TDatabaseInfo::Qualifies;
  for (const auto& done : scanned_) search.Exclude(done);
  search.Walk(folder);
  scanned_.push_back(folder);
}

bool TDatabaseRestore::AddFile(const std::u16string& path) {
  auto info = std::make_unique<TDatabaseInfo>();
  if (!info->Load(path)) return false;
  for (const auto& known : infos_) {
    if (known->SameContent(*info)) return false;
  }
  infos_.push_back(std::move(info));
  if (OnAdd) OnAdd(*infos_.back());
  return true;
}

// ---- The restore step ---------------------------------------------------------------

std::u16string WithDatabaseExtension(const std::u16string& path) {
  if (path.size() >= 4 && platform::LowerCase(path.substr(path.size() - 4)) == u".sbn") return path;
  return path + u".sbn";
}

std::u16string FirstFreeName(const std::u16string& folder, const std::u16string& pattern) {
  const size_t hash = pattern.find(u'#');
  if (hash == std::u16string::npos) {
    throw std::invalid_argument("The name pattern \"" + ToUtf8(pattern) + "\" has no \"#\"");
  }
  for (unsigned n = 1;; ++n) {
    std::u16string name =
        pattern.substr(0, hash) + FromUtf8(std::to_string(n)) + pattern.substr(hash + 1);
    std::u16string path = platform::JoinPath(folder, name);
    if (!platform::FileExists(path) && !platform::DirectoryExists(path)) return path;
  }
}

bool IsWholeCopy(const std::u16string& source, const std::u16string& copy) {
  // A zero-filled file reads as an empty database, so the length is
  // compared as well.
  const std::optional<uint64_t> sourceSize = platform::FileSize(source);
  if (!sourceSize || platform::FileSize(copy) != sourceSize) return false;
  try {
    TNoteListCollection check(true);
    check.LoadFromFile(copy);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::u16string RestoreDatabase(const std::u16string& source, const std::u16string& dataFolder,
                               IDatabaseFileSetting& setting) {
  platform::ForceDirectories(dataFolder);
  const std::u16string target = FirstFreeName(dataFolder, kRestorePattern);
  platform::CopyFileReplacing(source, target);
  // The source is renamed and the setting changed only once the copy is
  // known to be a whole database: a short copy (a full disk) must not
  // become the working database while the good file is put aside.
  if (!IsWholeCopy(source, target)) {
    try {
      platform::DeleteFileIfExists(target);
    } catch (const std::exception&) {
      // A broken copy that stays behind harms nobody; the source is intact.
    }
    throw std::runtime_error("The copy of the database cannot be read: " + ToUtf8(target));
  }
  // The "~" keeps the old state findable (a backup's second-to-last
  // extension is still "sbn") but out of the way. An earlier restore may
  // have left that name already; another "~" keeps both.
  std::u16string renamed = source + u"~";
  while (platform::FileExists(renamed)) renamed += u"~";
  try {
    platform::RenameFile(source, renamed);
  } catch (const std::exception&) {
    // A source on a read-only medium (a backup disc) cannot be renamed; the
    // copy is complete, so the restore goes on without the mark.
  }
  setting.SetDatabaseFile(WithDatabaseExtension(target));
  return target;
}

}  // namespace vellumio
