#include "store/UIDIndex.h"

namespace vellumio {

void UIDIndex::Add(int32_t uid) {
  if (uid == 0) return;
  if (counts_[uid]++ > 0) return;
  // A new distinct identity: join it with the runs that end just before it
  // and start just after it.
  int64_t first = uid, last = uid;
  auto next = runs_.find(static_cast<int64_t>(uid) + 1);
  if (next != runs_.end()) {
    last = next->second;
    runs_.erase(next);
  }
  auto it = runs_.lower_bound(uid);
  if (it != runs_.begin()) {
    auto prev = std::prev(it);
    if (prev->second == static_cast<int64_t>(uid) - 1) {
      first = prev->first;
      runs_.erase(prev);
    }
  }
  runs_[first] = last;
}

void UIDIndex::Remove(int32_t uid) {
  if (uid == 0) return;
  auto count = counts_.find(uid);
  if (count == counts_.end()) return;
  if (--count->second > 0) return;
  counts_.erase(count);
  // Split the run that holds it.
  auto it = runs_.upper_bound(uid);
  --it;
  int64_t first = it->first, last = it->second;
  runs_.erase(it);
  if (first < uid) runs_[first] = static_cast<int64_t>(uid) - 1;
  if (last > uid) runs_[static_cast<int64_t>(uid) + 1] = last;
}

void UIDIndex::Clear() {
  counts_.clear();
  runs_.clear();
}

int32_t UIDIndex::FirstFreeFrom(int32_t candidate) const {
  // Runs are maximal, so the identity after a run is free unless it is 0 or
  // the count wraps past INT32_MAX (as a 32-bit add does).
  int64_t c = candidate;
  for (;;) {
    if (c > INT32_MAX) c = INT32_MIN;
    if (c == 0) c = 1;
    auto it = runs_.upper_bound(c);
    if (it == runs_.begin() || std::prev(it)->second < c) return static_cast<int32_t>(c);
    c = std::prev(it)->second + 1;
  }
}

}  // namespace vellumio
