#include "store/NotesList.h"

#include <algorithm>

#include "base/Clock.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "base/TextUtil.h"
#include "platform/Platform.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NoteViewLink.h"
#include "store/StoreHost.h"

namespace vellumio {

namespace {
// The smallest note record (version 0: version, time, empty text): a stored
// count that needs more bytes than are left cannot be genuine.
constexpr uint64_t kMinNoteRecordSize = 4 + 8 + 2;
}  // namespace

TNotesList::TNotesList(TNoteListCollection* owner) : owner_(owner) {
  if (INoteViewFactory* factory = NoteViewFactory()) view_ = factory->CreateView(*this);
  Clear();
}

TNotesList::~TNotesList() {
  // The view goes first: it may still look at the notes while closing.
  view_.reset();
  for (auto& note : notes_) note->Detach();
  if (owner_) owner_->ListUIDChanged(uid_, 0);
}

void TNotesList::Clear() {
  filter_.clear();
  name_.clear();
  colour_ = kDefaultColour;
  schemeFile_.clear();
  modified_ = 0;
  for (auto& note : notes_) note->Detach();
  notes_.clear();
  SetUID(0);
  NotifyViews();
}

void TNotesList::Changed(bool flag) { modified_ = flag ? Now() : 0; }

bool TNotesList::IsModified() const {
  if (modified_ != 0) return true;
  return std::any_of(notes_.begin(), notes_.end(), [](const auto& n) { return n->IsModified(); });
}

std::u16string TNotesList::GetName() {
  if (name_.empty()) name_ = "-";
  return platform::FromAnsi(name_);
}

void TNotesList::SetName(const std::u16string& name) {
  std::u16string value = name.empty() ? u"Untitled" : name;
  if (value.size() > kMaxNameLength) value.resize(kMaxNameLength);
  std::string ansi = platform::ToAnsi(value);
  if (ansi == name_) return;
  name_ = std::move(ansi);
  Changed(true);
}

void TNotesList::SetColour(uint32_t colour) {
  if (colour == colour_) return;
  colour_ = colour;
  Changed(true);
}

void TNotesList::SetSchemeFile(const std::string& file) {
  if (file != schemeFile_) {
    schemeFile_ = file;
    Changed(true);
  }
  if (view_) view_->SchemeChanged(schemeFile_);
}

void TNotesList::SetFilter(const std::u16string& filter) {
  if (filter == filter_) return;
  filter_ = filter;
  NotifyViews();
}

void TNotesList::SetUID(int32_t uid) {
  if (uid == uid_) return;
  int32_t old = uid_;
  uid_ = uid;
  if (owner_) owner_->ListUIDChanged(old, uid);
}

void TNotesList::EnsureUID() {
  if (uid_ != 0) return;
  if (TNoteListCollection* main = TNoteListCollection::Main()) SetUID(main->NewUID());
}

int32_t TNotesList::GetUID() {
  EnsureUID();
  return uid_;
}

void TNotesList::NoteUIDChanged(int32_t oldUid, int32_t newUid) {
  if (owner_) owner_->ListUIDChanged(oldUid, newUid);
}

// ---- Notes and visible notes ----------------------------------------------------

TNoteItem* TNotesList::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return notes_[index].get();
}

int TNotesList::RawIndexOf(const TNoteItem* note) const {
  for (int i = Count() - 1; i >= 0; --i)
    if (notes_[i].get() == note) return i;
  return -1;
}

void TNotesList::RebuildVisible() {
  visible_.clear();
  for (auto& note : notes_)
    if (note->MatchesFilter(filter_)) visible_.push_back(note.get());
  visibleValid_ = true;
}

int TNotesList::VisibleCount() {
  if (filter_.empty()) return Count();
  if (!visibleValid_) RebuildVisible();
  return static_cast<int>(visible_.size());
}

TNoteItem* TNotesList::VisibleNote(int index) {
  if (filter_.empty()) return Item(index);
  if (!visibleValid_) RebuildVisible();
  if (index < 0 || index >= static_cast<int>(visible_.size())) return nullptr;
  return visible_[index];
}

int TNotesList::IndexOf(const TNoteItem* note) {
  if (filter_.empty()) return RawIndexOf(note);
  if (!visibleValid_) RebuildVisible();
  for (int i = static_cast<int>(visible_.size()) - 1; i >= 0; --i)
    if (visible_[i] == note) return i;
  return -1;
}

bool TNotesList::Contains(const TNoteItem* note) { return note && IndexOf(note) >= 0; }

TNoteItem* TNotesList::Add() {
  notes_.push_back(std::make_unique<TNoteItem>(this));
  NotifyViews();
  return notes_.back().get();
}

TNoteItem* TNotesList::Insert(int position) {
  position = std::clamp(position, 0, Count());
  auto note = std::make_unique<TNoteItem>(this);
  // A fresh note is dated now without counting as a change: it is empty
  // until the caller fills it, and empty notes are never written.
  note->created_ = Now();
  TNoteItem* raw = note.get();
  notes_.insert(notes_.begin() + position, std::move(note));
  NotifyViews();
  return raw;
}

std::unique_ptr<TNoteItem> TNotesList::TakeNote(int rawIndex) {
  std::unique_ptr<TNoteItem> note = std::move(notes_[rawIndex]);
  notes_.erase(notes_.begin() + rawIndex);
  note->Detach();
  InvalidateVisible();
  return note;
}

void TNotesList::Delete(int position, bool notify) {
  TNoteItem* note = VisibleNote(position);
  if (!note) throw EListError("List index out of bounds");
  TakeNote(RawIndexOf(note));
  Changed(true);
  if (notify) NotifyViews();
}

void TNotesList::MoveToTop(TNoteItem* note) {
  const int position = IndexOf(note);
  if (position < 0) return;
  TNoteItem copy(nullptr);
  copy.Assign(*note);
  Delete(position, true);
  TNoteItem* moved = Insert(0);
  moved->Assign(copy);
  moved->SetCreated(Now());
}

void TNotesList::Assign(TNotesList& source) {
  if (&source == this) return;
  TMemoryStream buffer;
  source.SaveToStream(buffer);
  LoadFromStream(buffer);
}

void TNotesList::CommitEdit() {
  if (view_) view_->CommitEdit();
}

int TNotesList::MarkMatches(const std::u16string& text) {
  const int count = VisibleCount();
  if (text.empty()) {
    for (int i = 0; i < count; ++i) VisibleNote(i)->SetFound(false);
    return 0;
  }
  // Compared in UTF-16 with the live filter's rule: a search in the system
  // ANSI code page turned every letter outside it into "?", so any note
  // with as many foreign letters matched and no note with emoji could.
  const TCaseInsensitiveNeedle needle(text);
  const bool withSubject = StoreHost().ShowSubject();
  int marked = 0;
  for (int i = 0; i < count; ++i) {
    TNoteItem* note = VisibleNote(i);
    // The subject follows the text after one space, so a match may span
    // the end of the text and the start of the subject.
    const bool found = withSubject ? needle.FoundIn(note->Text() + u" " + note->Subject())
                                   : needle.FoundIn(note->Text());
    note->SetFound(found);
    if (found) ++marked;
  }
  return marked;
}

void TNotesList::NotifyViews() {
  InvalidateVisible();
  if (view_) view_->NotesChanged();
}

// ---- Export -----------------------------------------------------------------------

void TNotesList::ExportToLines(std::vector<std::u16string>& lines) {
  const std::u16string rule(67, u'=');
  lines.push_back(rule);
  lines.push_back(GetName() + u" (" + platform::FromAnsi(std::to_string(VisibleCount())) +
                  u" notes)");
  lines.push_back(rule);
  for (int i = VisibleCount() - 1; i >= 0; --i) VisibleNote(i)->AddToLines(lines, false);
  lines.emplace_back();
}

// ---- Stream record ------------------------------------------------------------------

void TNotesList::SaveToStream(TStream& stream) {
  stream.WriteInt32(kRecordVersion);
  const auto stored = std::count_if(notes_.begin(), notes_.end(),
                                    [](const auto& n) { return !n->IsEmpty(); });
  stream.WriteInt32(static_cast<int32_t>(stored));
  for (auto& note : notes_)
    if (!note->IsEmpty()) note->SaveToStream(stream);
  stream.WriteStreamString(name_);
  stream.WriteStreamString(schemeFile_);
  stream.WriteInt32(static_cast<int32_t>(colour_));
  stream.WriteInt32(GetUID());
  Changed(false);
}

void TNotesList::LoadFromStream(TStream& stream) {
  Clear();
  const int32_t version = stream.ReadInt32();
  const int32_t count = stream.ReadInt32();
  if (count < 0 || static_cast<uint64_t>(count) * kMinNoteRecordSize > stream.Remaining())
    throw EReadError("Note count exceeds the data left in the stream");
  notes_.reserve(static_cast<size_t>(count));
  if (owner_) owner_->identities_.Reserve(static_cast<size_t>(count));
  // One clock reading for the whole list: every note is stamped the same
  // while it is read, and its record overwrites the stamp.
  const double now = Now();
  for (int32_t i = 0; i < count; ++i) {
    notes_.push_back(std::make_unique<TNoteItem>(this, TNoteItem::ForLoading{now}));
    notes_.back()->LoadAt(stream, now);
    if (yieldWhileLoading) platform::ProcessMessages();
  }
  name_ = stream.ReadStreamString();
  const auto v = static_cast<uint32_t>(version);
  if (v >= 1 && v <= 3) {
    schemeFile_ = stream.ReadStreamString();
    colour_ = static_cast<uint32_t>(stream.ReadInt32());
  }
  if (v == 2 || v == 3) {
    SetUID(stream.ReadInt32());
    EnsureUID();  // a stored 0 gets a fresh identity
  }
  if (view_) view_->SchemeChanged(schemeFile_);
  Changed(false);
  NotifyViews();
}

}  // namespace vellumio
