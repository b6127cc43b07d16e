#include "store/NoteListCollection.h"

#include <algorithm>
#include <cmath>

#include "base/Clock.h"
#include "base/DateFormat.h"
#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "platform/Platform.h"
#include "store/NoteItem.h"
#include "store/NotesList.h"
#include "store/SnapshotSaver.h"
#include "store/StoreHost.h"

namespace vellumio {

namespace {
TNoteListCollection*& MainInstance() {
  static TNoteListCollection* main = nullptr;
  return main;
}

// "Vellumio, <address> [PROJECT FILE]" padded with spaces to 51 bytes.
std::string FileHeader() {
  std::string header = "Vellumio, https://www.vellumio.com [PROJECT FILE]";
  header.resize(TNoteListCollection::kHeaderLength, ' ');
  return header;
}

// The smallest list record (version, note count, empty name).
constexpr uint64_t kMinListRecordSize = 4 + 4 + 2;
constexpr double kFileTimeTolerance = 5.0 / 86400.0;  // five seconds
constexpr double kLatestDueTime = 64000.0;           // a date in 2075
constexpr int kRuleLength = 67;

const char16_t kDamagedQuestion[] =
    u"Are you sure you want to store the damaged database (all old records will be lost)?";

uint32_t MixWithWhite(uint32_t colour) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t c = (colour >> shift) & 0xFF;
    out |= ((c * 106 + 255 * 150) / 256) << shift;
  }
  return out;
}
}  // namespace

TNoteListCollection::TNoteListCollection(bool lightweight) : lightweight_(lightweight) {
  if (!lightweight_ && MainInstance() == nullptr) MainInstance() = this;
  Clear();
  AddList()->SetName(u"List 1");
}

TNoteListCollection::~TNoteListCollection() {
  identities_.Clear();
  for (auto& list : lists_) list->owner_ = nullptr;
  lists_.clear();
  // The saver goes last: its destruction writes a snapshot still queued.
  saver_.reset();
  if (MainInstance() == this) MainInstance() = nullptr;
}

TNoteListCollection* TNoteListCollection::Main() { return MainInstance(); }

void TNoteListCollection::SetSaver(std::unique_ptr<ISnapshotSaver> saver) { saver_ = std::move(saver); }

void TNoteListCollection::Clear() {
  identities_.Clear();
  for (auto& list : lists_) list->owner_ = nullptr;
  lists_.clear();
  currentList_ = 0;
  modified_ = 0;
  listSwitched_ = false;
  lastUid_ = 0;
  filter_.clear();
}

void TNoteListCollection::Changed(bool flag) { modified_ = flag ? Now() : 0; }

bool TNoteListCollection::IsModified() const {
  if (modified_ != 0) return true;
  return std::any_of(lists_.begin(), lists_.end(), [](const auto& l) { return l->IsModified(); });
}

// ---- Lists --------------------------------------------------------------------------

TNotesList* TNoteListCollection::List(int index) const {
  if (index < 0 || index >= ListCount()) return nullptr;
  return lists_[index].get();
}

int TNoteListCollection::IndexOfList(const TNotesList* list) const {
  for (int i = 0; i < ListCount(); ++i)
    if (lists_[i].get() == list) return i;
  return -1;
}

TNotesList* TNoteListCollection::AddList() { return InsertList(ListCount()); }

TNotesList* TNoteListCollection::InsertList(int index) {
  index = std::clamp(index, 0, ListCount());
  auto list = std::make_unique<TNotesList>(this);
  if (lightweight_) list->yieldWhileLoading = true;
  // The search panel's filter narrows every list, new ones included.
  list->filter_ = filter_;
  TNotesList* raw = list.get();
  lists_.insert(lists_.begin() + index, std::move(list));
  return raw;
}

void TNoteListCollection::IndexList(TNotesList& list, bool add) {
  auto apply = [&](int32_t uid) { add ? identities_.Add(uid) : identities_.Remove(uid); };
  apply(list.uid_);
  for (auto& note : list.notes_) apply(note->UID());
}

void TNoteListCollection::DeleteList(int index) {
  if (index < 0 || index >= ListCount()) throw EListError("List index out of bounds");
  IndexList(*lists_[index], false);
  lists_[index]->owner_ = nullptr;
  lists_.erase(lists_.begin() + index);
  Changed(true);
}

int TNoteListCollection::MoveList(int from, int to) {
  if (from < 0 || from >= ListCount()) throw EListError("List index out of bounds");
  const int insertAt = to > from ? to + 1 : to;
  TNotesList* copy = InsertList(insertAt);
  const int source = IndexOfList(copy) <= from ? from + 1 : from;
  copy->Assign(*lists_[source]);
  copy->SetFilter(filter_);  // reading the copy cleared it
  IndexList(*lists_[source], false);
  lists_[source]->owner_ = nullptr;
  lists_.erase(lists_.begin() + source);
  Changed(true);
  return to;
}

void TNoteListCollection::SetCurrentList(int index) {
  if (index == currentList_) return;
  currentList_ = index;
  listSwitched_ = true;
}

TNotesList* TNoteListCollection::Current() const { return List(currentList_); }

void TNoteListCollection::SetFilter(const std::u16string& filter) {
  filter_ = filter;
  // Every list, not only the current one: the tabs show which lists hold
  // matches, and switching lists keeps the filter.
  for (auto& list : lists_) list->SetFilter(filter);
}

TNotesList* TNoteListCollection::FindListOf(const TNoteItem* note) const {
  for (auto& list : lists_)
    if (list->Contains(note)) return list.get();
  return nullptr;
}

// ---- Identities ---------------------------------------------------------------------

int32_t TNoteListCollection::ClockSeconds(double localTime, int32_t biasSeconds) {
  if (localTime <= 0 || localTime < kUnixEpochDays) return 0;
  const TimeParts t = DecodeTime(localTime);
  const int64_t days = static_cast<int64_t>(std::floor(localTime)) - static_cast<int64_t>(kUnixEpochDays);
  // The hour is counted from 1, as identities always have been; the offset
  // only shifts where the search for a free identity starts.
  const int64_t seconds = days * 86400 + (t.hour - 1) * 3600 + t.minute * 60 + t.second + biasSeconds;
  return static_cast<int32_t>(static_cast<uint32_t>(seconds));
}

int32_t TNoteListCollection::NewUID() { return NewUIDAt(Now()); }

int32_t TNoteListCollection::NewUIDAt(double now) {
  if (now != biasTime_) {
    bias_ = platform::TimeZoneBiasSeconds();
    biasTime_ = now;
  }
  const int32_t candidate = ClockSeconds(now, bias_);
  lastUid_ = identities_.FirstFreeFrom(candidate);
  return lastUid_;
}

bool TNoteListCollection::IsUIDFree(int32_t uid) const { return uid != 0 && !identities_.Contains(uid); }

// ---- Saving and loading ---------------------------------------------------------------

void TNoteListCollection::CommitAndSave() {
  for (auto& list : lists_) list->CommitEdit();
  if (IsModified()) SaveIfModified();
}

void TNoteListCollection::SaveIfModified() {
  if (errorState_ != 0 || !IsModified()) return;
  if (fileName_.empty()) fileName_ = StoreHost().DefaultDataFolder() + u"notes.sbn";
  SaveInBackground(fileName_);
}

void TNoteListCollection::SaveInBackground(const std::u16string& path) {
  if (lightweight_) return;
  if (damaged_ && !StoreHost().Confirm(kDamagedQuestion)) return;
  lastSaveTime_ = Now();
  SnapshotFacts facts;
  facts.listCount = ListCount();
  for (auto& list : lists_) facts.noteCount += list->Count();
  TMemoryStream snapshot;
  SaveToStream(snapshot);
  if (saver_) {
    saver_->Enqueue(path, snapshot.TakeBytes(), facts);
  } else {
    // Without a background saver the snapshot is written at once, so that
    // a database marked saved has really been written.
    try {
      platform::WriteFileReplacing(path, snapshot.Bytes().data(), snapshot.Size());
    } catch (...) {
      Changed(true);
      throw;
    }
  }
  lastSaveTime_ = Now();
}

void TNoteListCollection::SaveToFile(const std::u16string& path) {
  TMemoryStream bytes;
  SaveToStream(bytes);
  try {
    // Written beside the target and moved over it when complete, so that a
    // failure or a crash half-way never leaves a truncated database.
    platform::WriteFileReplacing(path, bytes.Bytes().data(), bytes.Size());
  } catch (...) {
    Changed(true);  // what is in memory has not reached the disk
    throw;
  }
  lastSaveTime_ = Now();
}

void TNoteListCollection::WaitForSaver() {
  if (!saver_) return;
  while (!saver_->IsIdle()) {
    platform::ProcessMessages();
    platform::YieldTimeSlice();
  }
}

void TNoteListCollection::LoadFromFile(const std::u16string& path) {
  WaitForSaver();
  auto file = platform::OpenForReading(path);
  lastSaveTime_ = platform::FileModifiedTime(path).value_or(Now());
  TFileReadStream stream(std::move(file));
  LoadFromStream(stream);
}

void TNoteListCollection::OpenFile(const std::u16string& path) {
  fileName_ = path;
  LoadFromFile(path);
}

bool TNoteListCollection::IsFileUnchanged() const {
  if (!platform::FileExists(fileName_)) return true;
  auto modified = platform::FileModifiedTime(fileName_);
  return !modified || *modified <= lastSaveTime_ + kFileTimeTolerance;
}

void TNoteListCollection::SaveToStream(TStream& stream) {
  stream.WriteStreamString(FileHeader());
  stream.WriteInt32(kFileVersion);
  stream.WriteInt32(lastUid_);
  stream.WriteInt32(ListCount());
  for (auto& list : lists_) list->SaveToStream(stream);
  stream.WriteInt32(currentList_);
  for (int32_t r : reserved_) stream.WriteInt32(r);
  stream.WriteUInt32(kEndMarker);
  damaged_ = false;
  modified_ = 0;
  listSwitched_ = false;
}

void TNoteListCollection::LoadFromStream(TStream& stream) {
  damaged_ = false;
  Clear();
  std::fill(std::begin(reserved_), std::end(reserved_), 0);
  try {
    // A zero-filled file (what a power loss can leave) reads as an empty
    // header, version 0 and no lists: it must not pass for an empty database.
    if (stream.ReadStreamString().empty()) throw EReadError("The file has no database header");
    const int32_t version = stream.ReadInt32();
    loadedVersion_ = version;
    if (static_cast<uint32_t>(version) > static_cast<uint32_t>(kFileVersion))
      throw EReadError("Wrong database version.");
    if (version >= 2) stream.ReadInt32();  // the stored LastUID is not used
    const int32_t count = stream.ReadInt32();
    if (count < 0 || static_cast<uint64_t>(count) * kMinListRecordSize > stream.Remaining())
      throw EReadError("List count exceeds the data left in the stream");
    for (int32_t i = 0; i < count; ++i) AddList()->LoadFromStream(stream);
    if (version >= 1) stream.ReadInt32();  // the stored current list is not used
    if (version == 4) {
      for (int32_t& r : reserved_) r = stream.ReadInt32();
      // A torn save can end anywhere; only a complete file ends with this.
      const uint32_t marker = stream.ReadUInt32();
      if (marker != kEndMarker && marker != kEndMarkerAlt) throw EReadError("The end marker is missing");
    }
  } catch (const std::exception& e) {
    damaged_ = true;
    throw EDatabaseError("Database read error", e.what());
  }
  lastUid_ = 0;
  currentList_ = 0;
  modified_ = 0;
  listSwitched_ = false;
}

// ---- Export, tabs and reminders ---------------------------------------------------------

void TNoteListCollection::ExportToLines(std::vector<std::u16string>& lines, bool withHeader) {
  if (withHeader) {
    lines.push_back(u"Vellumio 2.2; " + FormatShortDateLongTime(Now()));
    lines.push_back(std::u16string(kRuleLength, u'*'));
    lines.emplace_back();
  }
  for (int i = ListCount() - 1; i >= 0; --i) lists_[i]->ExportToLines(lines);
}

void TNoteListCollection::ExportToFile(const std::u16string& path) {
  std::vector<std::u16string> lines;
  ExportToLines(lines, true);
  std::u16string text;
  text.push_back(u'\xFEFF');
  for (const auto& line : lines) {
    text += line;
    text += u"\r\n";
  }
  // UTF-16 little-endian; the byte-order mark is the first unit.
  platform::WriteFileReplacing(path, text.data(), text.size() * sizeof(char16_t));
}

void TNoteListCollection::FillTabs(std::vector<TabInfo>& tabs, bool withNewTab) {
  tabs.clear();
  for (auto& list : lists_) {
    TabInfo tab;
    tab.list = list.get();
    tab.caption = list->GetName();
    const bool none = list->VisibleCount() == 0;
    const bool filtered = !list->Filter().empty();
    if (none && !filtered) tab.caption += u"*";
    tab.colour = none && filtered ? 0xFFFFFF : MixWithWhite(list->Colour());
    tabs.push_back(std::move(tab));
  }
  if (withNewTab) tabs.push_back(TabInfo{StoreHost().GetText("FMAIN", "tNewList"), 0xFFFFFF, nullptr});
}

TNoteItem* TNoteListCollection::NextReminderNote() {
  TNoteItem* best = nullptr;
  double bestTime = 0;
  for (auto& list : lists_) {
    for (int i = 0, n = list->VisibleCount(); i < n; ++i) {
      TNoteItem* note = list->VisibleNote(i);
      const TReminderTask& reminder = note->Reminder();
      const double due = reminder.NextTime();
      // A due time of 0 means "none": such a reminder is not next.
      if (!reminder.Active() || due == 0 || due >= kLatestDueTime) continue;
      if (!best || due < bestTime) {
        best = note;
        bestTime = due;
      }
    }
  }
  return best;
}

}  // namespace vellumio
