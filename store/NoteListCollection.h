// The database: the ordered lists, the file they come from, the identity
// generator, change tracking and the .sbn file format.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/UIDIndex.h"

namespace vellumio {

class ISnapshotSaver;
class TNoteItem;
class TNotesList;
class TStream;

// One tab of the tab strip, as FillTabs describes it.
struct TabInfo {
  std::u16string caption;
  uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR
  TNotesList* list = nullptr;  // null for the new-list tab
};

class TNoteListCollection {
public:
  static constexpr int32_t kFileVersion = 4;
  static constexpr uint32_t kEndMarker = 0x0FDEDEC0;  // bytes C0 DE DE 0F
  // The marker's bytes have also been given as C0 DE ED 0F; files that end
  // that way are complete too and are read.
  static constexpr uint32_t kEndMarkerAlt = 0x0FEDDEC0;
  static constexpr size_t kHeaderLength = 51;

  // The first full (not lightweight) instance becomes the main database,
  // which hands out every identity, until it is destroyed.
  explicit TNoteListCollection(bool lightweight = false);
  ~TNoteListCollection();
  TNoteListCollection(const TNoteListCollection&) = delete;
  TNoteListCollection& operator=(const TNoteListCollection&) = delete;

  static TNoteListCollection* Main();

  // The background saver (owned); full instances get theirs from the
  // application. Without one, SaveInBackground writes nothing.
  void SetSaver(std::unique_ptr<ISnapshotSaver> saver);
  ISnapshotSaver* Saver() const { return saver_.get(); }

  void Clear();
  void Changed(bool flag);
  bool IsModified() const;

  int ListCount() const { return static_cast<int>(lists_.size()); }
  TNotesList* List(int index) const;
  int IndexOfList(const TNotesList* list) const;
  TNotesList* AddList();
  TNotesList* InsertList(int index);
  void DeleteList(int index);
  int MoveList(int from, int to);

  int CurrentList() const { return currentList_; }
  void SetCurrentList(int index);
  TNotesList* Current() const;

  const std::u16string& Filter() const { return filter_; }
  void SetFilter(const std::u16string& filter);

  TNotesList* FindListOf(const TNoteItem* note) const;

  int32_t NewUID();
  // The same for a given current time (loading passes one per list).
  int32_t NewUIDAt(double now);
  bool IsUIDFree(int32_t uid) const;
  int32_t LastUID() const { return lastUid_; }

  void CommitAndSave();
  void SaveIfModified();
  void SaveInBackground(const std::u16string& path);
  void SaveToFile(const std::u16string& path);
  void LoadFromFile(const std::u16string& path);
  void OpenFile(const std::u16string& path);
  bool IsFileUnchanged() const;

  void SaveToStream(TStream& stream);
  void LoadFromStream(TStream& stream);

  void ExportToLines(std::vector<std::u16string>& lines, bool withHeader);
  void ExportToFile(const std::u16string& path);

  void FillTabs(std::vector<TabInfo>& tabs, bool withNewTab);

  // The note whose active reminder is due first, or null.
  TNoteItem* NextReminderNote();

  // The seconds count the identities start from (exposed for tests).
  static int32_t ClockSeconds(double localTime, int32_t biasSeconds);

  const std::u16string& FileName() const { return fileName_; }
  void SetFileName(const std::u16string& path) { fileName_ = path; }
  bool Damaged() const { return damaged_; }
  double Modified() const { return modified_; }
  bool ListSwitched() const { return listSwitched_; }
  int32_t ErrorState() const { return errorState_; }
  void SetErrorState(int32_t state) { errorState_ = state; }
  double LastSaveTime() const { return lastSaveTime_; }
  bool Lightweight() const { return lightweight_; }
  int32_t Reserved1() const { return reserved_[0]; }
  int32_t Reserved2() const { return reserved_[1]; }
  int32_t Reserved3() const { return reserved_[2]; }
  // The version stored in the file last loaded.
  int32_t LoadedVersion() const { return loadedVersion_; }

  // The identity index of every list and note of this database.
  UIDIndex& Identities() { return identities_; }

private:
  friend class TNotesList;
  void ListUIDChanged(int32_t oldUid, int32_t newUid) { identities_.Replace(oldUid, newUid); }
  void IndexList(TNotesList& list, bool add);
  void WaitForSaver();

  std::unique_ptr<ISnapshotSaver> saver_;
  std::vector<std::unique_ptr<TNotesList>> lists_;
  std::u16string fileName_;
  int32_t currentList_ = 0;
  bool damaged_ = false;
  double modified_ = 0;
  bool listSwitched_ = false;
  int32_t errorState_ = 0;
  double lastSaveTime_ = 0;
  std::u16string filter_;
  int32_t lastUid_ = 0;
  bool lightweight_;
  int32_t reserved_[3] = {0, 0, 0};
  int32_t loadedVersion_ = kFileVersion;
  // The time-zone bias, read again whenever the clock has moved on.
  int32_t bias_ = 0;
  double biasTime_ = -1;
  UIDIndex identities_;
};

}  // namespace vellumio
