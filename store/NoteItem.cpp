#include "store/NoteItem.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/Clock.h"
#include "base/DateFormat.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "platform/Platform.h"
#include "store/LinkFinder.h"
#include "store/NoteListCollection.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"
#include "store/StoreHost.h"

namespace vellumio {

namespace {
constexpr uint8_t kTrueByte = 0xFF;

bool IsLineBreakOrTab(char16_t c) { return c == u'\r' || c == u'\n' || c == u'\t'; }
}  // namespace

TNoteItem::TNoteItem(TNotesList* owner) : owner_(owner) {
  Clear();
  EnsureUID();
}

TNoteItem::TNoteItem(TNotesList* owner, ForLoading loading)
    : owner_(owner), created_(loading.now), reminder_(false, loading.now) {}

TNoteItem::~TNoteItem() = default;

void TNoteItem::Clear() { ClearAt(Now()); }

void TNoteItem::ClearAt(double now) {
  text_.clear();
  created_ = now;
  completed_ = 0;
  found_ = 0;
  reserved_ = 0;
  modified_ = 0;
  reminder_.ResetAt(now);
  links_.clear();
  subject_.clear();
  filterMatch_ = false;
  filterKeySet_ = false;
  filterKey_.clear();
  SetUID(0);
  layoutWidth_ = 0;
  lineCount_ = kMinLines;
  selected_ = false;
}

void TNoteItem::Changed(bool flag) { modified_ = flag ? Now() : 0; }

bool TNoteItem::IsModified() const { return modified_ != 0 || reminder_.Modified(); }

// A note the user emptied is dropped when the list is written. The subject
// counts as content whether or not it is shown: a display option must not
// decide whether stored text survives the next save.
bool TNoteItem::IsEmpty() const { return text_.empty() && subject_.empty(); }

int TNoteItem::Index() const { return owner_ ? owner_->RawIndexOf(this) : -1; }

void TNoteItem::SetText(const std::u16string& text) {
  if (text == text_) return;
  text_ = text;
  layoutWidth_ = 0;
  Changed(true);
}

void TNoteItem::SetSubject(const std::u16string& subject) {
  if (subject == subject_) return;
  subject_ = subject;
  Changed(true);
}

void TNoteItem::SetCreated(double time) {
  if (time == created_) return;
  created_ = time;
  Changed(true);
}

void TNoteItem::SetCompleted(bool value) {
  if (value == Completed()) return;
  completed_ = value ? kTrueByte : 0;
  Changed(true);
}

void TNoteItem::SetFound(bool value) {
  if (value == Found()) return;
  found_ = value ? kTrueByte : 0;
  Changed(true);
}

void TNoteItem::SetUID(int32_t uid) {
  if (uid == uid_) return;
  int32_t old = uid_;
  uid_ = uid;
  if (owner_) owner_->NoteUIDChanged(old, uid);
}

void TNoteItem::Detach() {
  if (owner_) owner_->NoteUIDChanged(uid_, 0);
  owner_ = nullptr;
}

void TNoteItem::EnsureUID() {
  if (uid_ == 0) EnsureUIDAt(Now());
}

void TNoteItem::EnsureUIDAt(double now) {
  if (uid_ != 0) return;
  if (TNoteListCollection* main = TNoteListCollection::Main()) SetUID(main->NewUIDAt(now));
}

int32_t TNoteItem::GetUID() {
  EnsureUID();
  return uid_;
}

// ---- Stream record ------------------------------------------------------------

void TNoteItem::SaveToStream(TStream& stream) {
  stream.WriteInt32(kRecordVersion);
  stream.WriteDouble(created_);
  stream.WriteStreamString(EncodeUtf8PerUnit(text_));
  stream.WriteByte(found_);
  stream.WriteByte(completed_);
  stream.WriteInt32(reserved_);
  reminder_.SaveToStream(stream);
  stream.WriteStreamString(EncodeUtf8PerUnit(subject_));
  stream.WriteInt32(uid_);
  stream.WriteInt32(layoutWidth_);
  stream.WriteInt32(lineCount_);
  Changed(false);
}

void TNoteItem::LoadFromStream(TStream& stream) { LoadAt(stream, Now()); }

void TNoteItem::LoadAt(TStream& stream, double now) {
  // Scratch space for the stored strings, reused from note to note.
  thread_local std::string bytes;
  ClearAt(now);
  const int32_t version = stream.ReadInt32();
  if (static_cast<uint32_t>(version) > static_cast<uint32_t>(kRecordVersion))
    throw EReadError("Unknown note item version");

  created_ = stream.ReadDouble();
  if (version <= 4) {
    stream.ReadStreamString(bytes);
    text_ = platform::FromAnsi(bytes);
    if (version >= 1) {
      found_ = stream.ReadByte();
      completed_ = stream.ReadByte();
      reserved_ = stream.ReadInt32();
    }
    if (version >= 2) reminder_.LoadFromStreamAt(stream, now);
    if (version >= 3) {
      stream.ReadStreamString(bytes);
      subject_ = platform::FromAnsi(bytes);
    }
    if (version == 4) {
      stream.Skip(1);
      SetUID(stream.ReadInt32());
    }
  } else {
    stream.ReadStreamString(bytes);
    text_ = DecodeUtf8Lenient(bytes);
    found_ = stream.ReadByte();
    completed_ = stream.ReadByte();
    reserved_ = stream.ReadInt32();
    reminder_.LoadFromStreamAt(stream, now);
    stream.ReadStreamString(bytes);
    subject_ = DecodeUtf8Lenient(bytes);
    if (version >= 6) SetUID(stream.ReadInt32());
    if (version == 7) stream.Skip(4 + 4 + 1 + 1);
    if (version == 8) {
      layoutWidth_ = stream.ReadInt32();
      lineCount_ = stream.ReadInt32();
    }
  }
  EnsureUIDAt(now);
  Changed(false);
}

void TNoteItem::Assign(TNoteItem& source) {
  if (&source == this) return;
  TMemoryStream buffer;
  source.SaveToStream(buffer);
  LoadFromStream(buffer);
}

// ---- Links ----------------------------------------------------------------------

void TNoteItem::RebuildLinks() { links_ = FindLinks(text_); }

int TNoteItem::LinkCount() {
  RebuildLinks();
  return static_cast<int>(links_.size());
}

std::u16string TNoteItem::Link(int index) {
  RebuildLinks();
  if (index < 0 || index >= static_cast<int>(links_.size())) throw EListError("List index out of bounds");
  return links_[index];
}

// ---- Text functions -------------------------------------------------------------

std::u16string TNoteItem::SingleLineText() const {
  std::u16string out;
  out.reserve(text_.size());
  bool inRun = false;
  for (char16_t c : text_) {
    if (IsLineBreakOrTab(c)) {
      if (!inRun) out.push_back(u' ');
      inRun = true;
    } else {
      out.push_back(c);
      inRun = false;
    }
  }
  return out;
}

std::u16string TNoteItem::PreviewText() const {
  constexpr int kMaxPreviewLines = 4;
  std::u16string out;
  int kept = 0;
  size_t start = 0;
  while (start <= text_.size() && kept < kMaxPreviewLines) {
    size_t end = text_.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = text_.size();
    std::u16string line = Trim(std::u16string_view(text_).substr(start, end - start));
    if (!line.empty()) {
      out += line;
      out.push_back(u'\n');
      ++kept;
    }
    if (end == text_.size()) break;
    start = end + 1;
  }
  return out;
}

std::u16string TNoteItem::DisplayText() const {
  return StoreHost().ShowReturns() ? PreviewText() : SingleLineText();
}

bool TNoteItem::MatchesFilter(const std::u16string& filter) {
  if (filterKeySet_ && filter == filterKey_) return filterMatch_;
  // A new filter is tested against every note in turn: prepare it once.
  thread_local std::unique_ptr<TCaseInsensitiveNeedle> needle;
  if (!needle || needle->Text() != filter) needle = std::make_unique<TCaseInsensitiveNeedle>(filter);
  filterMatch_ = needle->FoundIn(text_) || needle->FoundIn(subject_);
  filterKey_ = filter;
  filterKeySet_ = true;
  return filterMatch_;
}

void TNoteItem::AddToLines(std::vector<std::u16string>& lines, bool marked) const {
  std::u16string header = u"[" + FormatShortDateLongTime(created_) + u"] ";
  lines.push_back(marked ? u"##$>>" + header : header);
  if (StoreHost().ShowSubject()) {
    std::u16string subject = Trim(subject_);
    if (!subject.empty()) lines.push_back(StoreHost().GetText("FMAIN", "lSubj") + u" " + subject);
  }
  lines.push_back(Trim(text_));
  lines.emplace_back();
}

int TNoteItem::CalcLines(const INoteMeasure& view) {
  constexpr int kTextMargin = 55;
  const int width = std::max(1, view.ClientWidth() - kTextMargin);
  const int lineHeight = view.LineHeight();
  int height = 0;
  if (StoreHost().ShowSubject()) {
    std::u16string subject = Trim(subject_);
    if (!subject.empty()) height += view.TextHeight(subject, width, true);
  }
  height += view.TextHeight(DisplayText(), width, false);
  int lines = lineHeight > 0 ? (height + lineHeight - 1) / lineHeight : kMinLines;
  lines = std::clamp(lines, kMinLines, kMaxLines);
  layoutWidth_ = view.ClientWidth();
  lineCount_ = lines;
  return lines;
}

}  // namespace vellumio
