// The identities in use in one database, so that "is this identity free?"
// and "the first free identity from here on" are answered without scanning
// every note. Identities may occur more than once (a damaged or hand-made
// file); each occurrence is counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>

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

  bool Contains(int32_t uid) const { return counts_.count(uid) != 0; }
  // The smallest identity >= `candidate` that is not in use, counting
  // upwards with 32-bit wrap-around; 0 is never handed out.
  int32_t FirstFreeFrom(int32_t candidate) const;
  size_t DistinctCount() const { return counts_.size(); }

private:
  // 0 means "no identity yet" and is not indexed.
  std::unordered_map<int32_t, uint32_t> counts_;
  // Maximal runs of consecutive identities in use: first -> last.
  std::map<int64_t, int64_t> runs_;
};

}  // namespace vellumio
