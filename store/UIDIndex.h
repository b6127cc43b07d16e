// The identities in use in one database, so that "is this identity free?"
// and "the first free identity from here on" are answered without scanning
// every note. Identities may occur more than once (a damaged or hand-made
// file); each occurrence is counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace vellumio {

class UIDIndex {
public:
  void Add(int32_t uid);
  void Remove(int32_t uid);
  void Replace(int32_t oldUid, int32_t newUid) {
    if (oldUid == newUid) return;
    Remove(oldUid);
    Add(newUid);
  }
  void Clear();
  // Room for `more` identities beyond those held.
  void Reserve(size_t more);

  bool Contains(int32_t uid) const { return uid != 0 && Find(uid) != kNone; }
  // The smallest identity >= `candidate` that is not in use, counting
  // upwards with 32-bit wrap-around; 0 is never handed out.
  int32_t FirstFreeFrom(int32_t candidate) const;
  size_t DistinctCount() const { return used_; }

private:
  // Open addressing with linear probing; a key of 0 marks an empty slot
  // (0 means "no identity yet" and is never indexed).
  struct Slot {
    int32_t uid = 0;
    uint32_t count = 0;
  };
  static constexpr size_t kNone = SIZE_MAX;

  size_t Find(int32_t uid) const;
  size_t Home(int32_t uid) const;
  void Grow(size_t minimumSlots);
  void EraseSlot(size_t slot);
  void AddRun(int64_t uid);
  void RemoveRun(int64_t uid);

  std::vector<Slot> slots_;  // size is a power of two (or 0)
  size_t used_ = 0;
  // Maximal runs of consecutive identities in use: first -> last.
  std::map<int64_t, int64_t> runs_;
};

}  // namespace vellumio
