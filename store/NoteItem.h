// One note: its text, subject, times, markers, reminder and identity, its
// versioned stream record, and the text functions the view and printing use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reminders/ReminderTask.h"

namespace vellumio {

class INoteMeasure;
class TNotesList;
class TStream;

class TNoteItem {
public:
  static constexpr int32_t kRecordVersion = 8;
  static constexpr int kMinLines = 3;
  static constexpr int kMaxLines = 8;

  // Builds the note, applies Clear, then EnsureUID. `owner` may be null for
  // a free-standing note (a scratch copy); it still draws its identity from
  // the main database.
  explicit TNoteItem(TNotesList* owner = nullptr);
  // A note about to be filled from a record: no clock reading and no
  // identity yet, as loading gives it both.
  struct ForLoading {
    double now;
  };
  TNoteItem(TNotesList* owner, ForLoading loading);
  ~TNoteItem();
  TNoteItem(const TNoteItem&) = delete;
  TNoteItem& operator=(const TNoteItem&) = delete;

  void Clear();
  void Changed(bool flag);
  bool IsModified() const;
  bool IsEmpty() const;

  TNotesList* Owner() const { return owner_; }
  // Position in the owning list's whole collection, -1 without an owner.
  int Index() const;

  const std::u16string& Text() const { return text_; }
  const std::u16string& Subject() const { return subject_; }
  double Created() const { return created_; }
  bool Completed() const { return completed_ != 0; }
  bool Found() const { return found_ != 0; }
  int32_t Reserved() const { return reserved_; }
  double Modified() const { return modified_; }
  TReminderTask& Reminder() { return reminder_; }
  const TReminderTask& Reminder() const { return reminder_; }
  int32_t UID() const { return uid_; }
  int32_t LayoutWidth() const { return layoutWidth_; }
  int32_t LineCount() const { return lineCount_; }
  bool Selected() const { return selected_; }

  void SetText(const std::u16string& text);
  void SetSubject(const std::u16string& subject);
  void SetCreated(double time);
  void SetCompleted(bool value);
  void SetFound(bool value);
  void SetSelected(bool value) { selected_ = value; }
  void SetLayout(int32_t width, int32_t lines) { layoutWidth_ = width; lineCount_ = lines; }

  // Layout flags of the note view; never stored.
  bool headerVisible = false;
  bool groupEnd = false;

  void EnsureUID();
  int32_t GetUID();

  void SaveToStream(TStream& stream);
  void LoadFromStream(TStream& stream);
  // Copies through a memory stream: identity, times, markers, reminder and
  // layout cache carry over; the source's change mark is cleared.
  void Assign(TNoteItem& source);

  // Links found in the text (rebuilt on every call).
  int LinkCount();
  std::u16string Link(int index);
  const std::vector<std::u16string>& Links() const { return links_; }

  std::u16string SingleLineText() const;
  std::u16string PreviewText() const;
  std::u16string DisplayText() const;

  // `filter` must not be empty; the result is cached per filter text.
  bool MatchesFilter(const std::u16string& filter);

  // Appends the note's export lines (see the export of a list).
  void AddToLines(std::vector<std::u16string>& lines, bool marked) const;

  // Row height in lines (3 to 8) for a view; stores the view's width and the
  // result in the layout cache.
  int CalcLines(const INoteMeasure& view);

private:
  friend class TNotesList;
  void ClearAt(double now);
  void LoadAt(TStream& stream, double now);
  void EnsureUIDAt(double now);
  void RebuildLinks();
  void SetUID(int32_t uid);  // keeps the database's identity index current
  void Detach();             // the owning list lets go of the note

  TNotesList* owner_;
  std::u16string text_;
  double created_ = 0;
  uint8_t completed_ = 0;
  uint8_t found_ = 0;
  int32_t reserved_ = 0;
  double modified_ = 0;
  TReminderTask reminder_;
  std::vector<std::u16string> links_;
  std::u16string subject_;
  bool filterMatch_ = false;
  bool filterKeySet_ = false;
  std::u16string filterKey_;
  int32_t uid_ = 0;
  int32_t layoutWidth_ = 0;
  int32_t lineCount_ = kMinLines;
  bool selected_ = false;
};

}  // namespace vellumio
