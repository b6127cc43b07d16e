// The search engine behind Find, Find again and Next reminder: it marks the
// notes of the current list that hold the search text (the marks are kept
// in the notes and stored with them), walks the lists to the next marked
// note, and finds the note whose reminder is due first. What it needs of
// the windows (the find dialog, selecting a note, the messages) comes
// through ISearchWindow, so the engine runs in the tests without them.
#pragma once

#include <string>

namespace vellumio {
class TNoteListCollection;
class TNotesList;
}  // namespace vellumio

namespace vellumio::search {

class ISearchWindow {
public:
  virtual ~ISearchWindow() = default;
  // The find dialog with the last text and search-all choice filled in;
  // false when the user cancels.
  virtual bool RunFindDialog(std::u16string& text, bool& searchAll) = 0;
  // Lets pending window messages run (an edit that ended saves its note).
  virtual void ProcessMessages() = 0;
  // Brings the main window out of its auto-hidden state.
  virtual void BringOut() = 0;
  // The selected row of the list's view (row 0 is the new-note row, row
  // i the visible note i - 1); -1 when none.
  virtual int SelectedRow(TNotesList& list) = 0;
  // Makes `list` current, focuses its view and selects its visible note
  // `noteIndex`.
  virtual void ShowNote(TNotesList& list, int noteIndex) = 0;
  // An information box: the FMAIN text `key` with `argument` in place of
  // its "%s", remembered under `answerId`.
  virtual void Inform(std::u16string_view key, const std::u16string& argument,
                      std::u16string_view answerId) = 0;
};

class TSearch {
public:
  TSearch(TNoteListCollection& database, ISearchWindow& window)
      : database_(database), window_(window) {}

  const std::u16string& Text() const { return text_; }
  void SetText(const std::u16string& text) { text_ = text; }
  bool HasText() const { return !text_.empty(); }
  bool SearchAll() const { return searchAll_; }

  // The Find command: asks for the text, marks and selects the first match.
  void Find();
  // Selects the next marked note after the selected one of the current
  // list (or the first of all with `fromStart`); never wraps to earlier
  // lists. Tells the user and returns false when there is none.
  bool FindNext(bool fromStart);
  // Clears every mark, then marks the current list's matches.
  void Mark();
  // Selects the note whose active reminder is due first.
  bool NextReminder();

private:
  TNoteListCollection& database_;
  ISearchWindow& window_;
  std::u16string text_;
  bool searchAll_ = false;
};

}  // namespace vellumio::search
