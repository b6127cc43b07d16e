// One named list of notes (a tab of the main window): its notes in display
// order (index 0 is the top), its filter, its view and its stream record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vellumio {

class INoteView;
class TNoteItem;
class TNoteListCollection;
class TStream;

class TNotesList {
public:
  static constexpr int32_t kRecordVersion = 3;
  static constexpr uint32_t kDefaultColour = 0xC0C0C0;
  static constexpr size_t kMaxNameLength = 20;

  // `owner` may be null for a free-standing list.
  explicit TNotesList(TNoteListCollection* owner = nullptr);
  ~TNotesList();
  TNotesList(const TNotesList&) = delete;
  TNotesList& operator=(const TNotesList&) = delete;

  TNoteListCollection* Owner() const { return owner_; }
  INoteView* View() const { return view_.get(); }

  void Clear();
  void Changed(bool flag);
  bool IsModified() const;
  double Modified() const { return modified_; }

  // The name as stored (8-bit, system ANSI code page).
  const std::string& AnsiName() const { return name_; }
  // The tab caption: the name, "-" when it is empty.
  std::u16string GetName();
  // Empty becomes "Untitled"; cut to 20 characters.
  void SetName(const std::u16string& name);

  uint32_t Colour() const { return colour_; }
  void SetColour(uint32_t colour);
  // File name of the list's colour scheme, relative to the schemes folder.
  const std::string& SchemeFile() const { return schemeFile_; }
  void SetSchemeFile(const std::string& file);

  const std::u16string& Filter() const { return filter_; }
  void SetFilter(const std::u16string& filter);

  bool yieldWhileLoading = false;

  int32_t UID() const { return uid_; }
  void EnsureUID();
  int32_t GetUID();

  // The raw collection.
  int Count() const { return static_cast<int>(notes_.size()); }
  TNoteItem* Item(int index) const;
  int RawIndexOf(const TNoteItem* note) const;

  // The visible notes: all of them without a filter, else those matching it.
  int VisibleCount();
  TNoteItem* VisibleNote(int index);
  int IndexOf(const TNoteItem* note);
  bool Contains(const TNoteItem* note);

  TNoteItem* Add();
  TNoteItem* Insert(int position);
  // Destroys the visible note at `position`.
  void Delete(int position, bool notify = true);
  void MoveToTop(TNoteItem* note);
  void Assign(TNotesList& source);
  void CommitEdit();

  // The marking search: sets the Found mark of every visible note to
  // whether it holds `text` (case-insensitively, in the text, and in the
  // subject while subjects are shown); clears every mark for an empty
  // text. Returns the number of marked notes.
  int MarkMatches(const std::u16string& text);

  void ExportToLines(std::vector<std::u16string>& lines);

  void SaveToStream(TStream& stream);
  void LoadFromStream(TStream& stream);

  // Tells the view to rebuild (and forgets the cached visible notes).
  void NotifyViews();

private:
  friend class TNoteItem;
  friend class TNoteListCollection;
  void NoteUIDChanged(int32_t oldUid, int32_t newUid);
  void SetUID(int32_t uid);
  void InvalidateVisible() { visibleValid_ = false; }
  void RebuildVisible();
  std::unique_ptr<TNoteItem> TakeNote(int rawIndex);

  TNoteListCollection* owner_;
  std::unique_ptr<INoteView> view_;
  std::vector<std::unique_ptr<TNoteItem>> notes_;
  std::string name_;
  double modified_ = 0;
  uint32_t colour_ = kDefaultColour;
  std::string schemeFile_;
  std::u16string filter_;
  int32_t uid_ = 0;
  // Visible notes under the filter, rebuilt on demand.
  std::vector<TNoteItem*> visible_;
  bool visibleValid_ = false;
};

}  // namespace vellumio
