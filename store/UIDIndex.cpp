#include "store/UIDIndex.h"

namespace vellumio {

namespace {
constexpr size_t kMinSlots = 64;
}  // namespace

size_t UIDIndex::Home(int32_t uid) const {
  // Fibonacci hashing spreads the clustered, clock-based identities.
  const uint64_t h = static_cast<uint32_t>(uid) * 0x9E3779B97F4A7C15ull;
  return static_cast<size_t>(h >> 20) & (slots_.size() - 1);
}

size_t UIDIndex::Find(int32_t uid) const {
  if (slots_.empty()) return kNone;
  for (size_t i = Home(uid);; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i].uid == uid) return i;
    if (slots_[i].uid == 0) return kNone;
  }
}

void UIDIndex::Grow(size_t minimumSlots) {
  size_t size = kMinSlots;
  while (size < minimumSlots) size *= 2;
  if (size <= slots_.size()) return;
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot{});
  for (const Slot& s : old) {
    if (s.uid == 0) continue;
    size_t i = Home(s.uid);
    while (slots_[i].uid != 0) i = (i + 1) & (size - 1);
    slots_[i] = s;
  }
}

void UIDIndex::Reserve(size_t more) { Grow((used_ + more) * 2); }

void UIDIndex::Add(int32_t uid) {
  if (uid == 0) return;
  if (size_t at = Find(uid); at != kNone) {
    ++slots_[at].count;
    return;
  }
  if ((used_ + 1) * 2 > slots_.size()) Grow((used_ + 1) * 2);
  size_t i = Home(uid);
  while (slots_[i].uid != 0) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = Slot{uid, 1};
  ++used_;
  AddRun(uid);
}

// Backward-shift deletion keeps every probe sequence unbroken without
// tombstones.
void UIDIndex::EraseSlot(size_t slot) {
  const size_t mask = slots_.size() - 1;
  size_t hole = slot;
  for (size_t i = (slot + 1) & mask; slots_[i].uid != 0; i = (i + 1) & mask) {
    const size_t home = Home(slots_[i].uid);
    // Move the entry into the hole unless its home lies after the hole
    // (cyclically) and up to its own position.
    const bool stays = hole <= i ? (home > hole && home <= i) : (home > hole || home <= i);
    if (!stays) {
      slots_[hole] = slots_[i];
      hole = i;
    }
  }
  slots_[hole] = Slot{};
}

void UIDIndex::Remove(int32_t uid) {
  if (uid == 0) return;
  const size_t at = Find(uid);
  if (at == kNone) return;
  if (--slots_[at].count > 0) return;
  EraseSlot(at);
  --used_;
  RemoveRun(uid);
}

void UIDIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  used_ = 0;
  runs_.clear();
}

void UIDIndex::AddRun(int64_t uid) {
  // Join the new identity with the runs that end just before it and start
  // just after it. Loading mostly extends the last run, which costs one
  // look-up and no allocation.
  auto after = runs_.lower_bound(uid);  // first run starting at or after uid
  const bool joinsNext = after != runs_.end() && after->first == uid + 1;
  auto before = after == runs_.begin() ? runs_.end() : std::prev(after);
  const bool joinsPrev = before != runs_.end() && before->second == uid - 1;
  if (joinsPrev && joinsNext) {
    before->second = after->second;
    runs_.erase(after);
  } else if (joinsPrev) {
    before->second = uid;
  } else if (joinsNext) {
    const int64_t last = after->second;
    auto hint = runs_.erase(after);
    runs_.emplace_hint(hint, uid, last);
  } else {
    runs_.emplace_hint(after, uid, uid);
  }
}

void UIDIndex::RemoveRun(int64_t uid) {
  auto it = std::prev(runs_.upper_bound(uid));
  const int64_t first = it->first, last = it->second;
  if (first == uid) {
    auto hint = runs_.erase(it);
    if (last > uid) runs_.emplace_hint(hint, uid + 1, last);
  } else {
    it->second = uid - 1;
    if (last > uid) runs_.emplace_hint(std::next(it), uid + 1, last);
  }
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
