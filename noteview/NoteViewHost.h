// What a note view needs from the program around it: the display settings,
// texts of the language files, where the colour schemes are, and the main
// window's side of a few commands. The main window implements it; tests
// give a small host of their own. Commands that later windows bring (the
// reminder editor, printing) are asked for first, so the view shows their
// menu items disabled while nobody provides them.
#pragma once

#include <string>
#include <string_view>

namespace vellumio {
class TNoteItem;
class TNotesList;
}  // namespace vellumio

namespace vellumio::noteview {

class INoteViewControl;

struct TNoteViewOptions {
  int fontSize = 2;  // 0 tiny ... 5 huge
  bool showSubject = true;
  bool showReturns = false;
  bool singleClickCreate = false;
  int groupMode = 0;  // 0 automatic, 1 day, 2 month, 3 year
  bool advPrint = true;
};

class INoteViewHost {
public:
  virtual ~INoteViewHost() = default;

  virtual TNoteViewOptions Options() const = 0;
  // A text of the language files ("FMAIN", "lEditNote"); a leading dot in
  // the key asks the shared section.
  virtual std::u16string Text(std::u16string_view section, std::u16string_view key) const = 0;
  // The language's date picture for date headers and hints.
  virtual std::u16string DateFormat() const = 0;
  // The display text of the hot key that makes a new note ("Ctrl+Shift+N").
  virtual std::u16string NewNoteShortcut() const = 0;
  // The schemes folder (with a trailing separator) and the current scheme
  // file in it.
  virtual std::u16string SchemesFolder() const = 0;
  virtual std::u16string CurrentSchemeFile() const = 0;

  // The notes of a list changed through the view (an edit ended, notes
  // moved or deleted): the main window refreshes its captions and saves.
  virtual void NotesChanged(TNotesList& list) = 0;
  // A drag of notes started or ended; the tab strip offers its drop targets.
  virtual void NoteDragStarted(INoteViewControl& view) = 0;
  virtual void NoteDragEnded(INoteViewControl& view) = 0;
  // Esc in the list: close the search panel or hand the focus back to the
  // window the user came from.
  virtual void EscapeFromList() = 0;
  // The question before deleting notes (Yes/No, with a box to stop asking,
  // remembered under `answerId`); true for Yes.
  virtual bool ConfirmDelete(const std::u16string& question, std::u16string_view answerId) = 0;

  // The reminder editor for a note; CanEditReminders is false until the
  // program has one. The main window first brings the note's list to the
  // front.
  virtual bool CanEditReminders() const = 0;
  virtual bool EditReminder(TNotesList& list, TNoteItem& note) = 0;
  // Printing of a view's notes; CanPrint is false until the program prints.
  virtual bool CanPrint() const = 0;
  virtual void Print(INoteViewControl& view, bool showDialog, bool allNotes) = 0;
};

// The view as the host and the later windows (tab strip, printing, search)
// see it; the Win32 view implements it.
class INoteViewControl {
public:
  virtual ~INoteViewControl() = default;
  virtual TNotesList& Notes() const = 0;
  virtual bool IsEditing() const = 0;
  virtual void BeginEdit(int itemIndex) = 0;
  virtual void EndEdit(bool keepOpen) = 0;
  virtual int ItemIndex() const = 0;
  virtual int ItemCount() const = 0;
  virtual void SelectIndex(int index) = 0;
  // The selection's notes as text: mode -1 for printing, 0 for copying.
  virtual std::u16string SelectedText(int mode, bool allNotes) = 0;
  // Moves the selected notes to another list (a drop on its tab).
  virtual int MoveSelectedTo(TNotesList& target) = 0;
  virtual int DeleteSelected() = 0;
};

}  // namespace vellumio::noteview
