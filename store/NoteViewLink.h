// How the notes store talks to the windows that show it. A list owns its
// view through INoteView; the Win32 note view implements it, and the main
// window registers a factory so that every new list gets one. Lists made
// while no factory is registered (the command-line tool, tests, the
// lightweight databases of backups) have no view.
#pragma once

#include <memory>
#include <string>

namespace vellumio {

class TNoteItem;
class TNotesList;

class INoteView {
public:
  virtual ~INoteView() = default;
  // The list's notes or filter changed: rebuild the rows.
  virtual void NotesChanged() = 0;
  // Finish any in-place edit that is open.
  virtual void CommitEdit() = 0;
  // Select the note and scroll it into view.
  virtual void SelectNote(TNoteItem& note) = 0;
  // The list's colour scheme file changed (loading, or the user's choice).
  virtual void SchemeChanged(const std::string& schemeFile) = 0;
};

class INoteViewFactory {
public:
  virtual ~INoteViewFactory() = default;
  virtual std::unique_ptr<INoteView> CreateView(TNotesList& list) = 0;
};

// Not owned; nullptr removes it.
void SetNoteViewFactory(INoteViewFactory* factory);
INoteViewFactory* NoteViewFactory();

// What a note needs of its view to compute its row height: the view's client
// width, the height of one line of the note font, and the height of a text
// laid out with word wrapping in a given width (regular or bold).
class INoteMeasure {
public:
  virtual ~INoteMeasure() = default;
  virtual int ClientWidth() const = 0;
  virtual int LineHeight() const = 0;
  virtual int TextHeight(const std::u16string& text, int width, bool bold) const = 0;
};

}  // namespace vellumio
