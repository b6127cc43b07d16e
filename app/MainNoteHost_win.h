// The main window's side of the note views: settings and texts from the
// application object, the delete question through the program's message
// box, and the window's own reactions (caption refresh, hand-back on Esc,
// the start and end of a note drag).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "noteview/NoteViewHost.h"

namespace vellumio::app {

class TfMain;

// The display text of a shortcut word (virtual key in the low byte, 0x2000
// Shift, 0x4000 Ctrl, 0x8000 Alt) in the keyboard layout's key names, as
// "Ctrl+Shift+N"; empty for 0.
std::u16string ShortcutText(uint16_t shortcut);

class TMainNoteHost final : public noteview::INoteViewHost {
public:
  explicit TMainNoteHost(TfMain& main) : main_(main) {}

  noteview::TNoteViewOptions Options() const override;
  std::u16string Text(std::u16string_view section, std::u16string_view key) const override;
  std::u16string DateFormat() const override;
  std::u16string NewNoteShortcut() const override;
  std::u16string SchemesFolder() const override;
  std::u16string CurrentSchemeFile() const override;

  void NotesChanged(TNotesList& list) override;
  void NoteDragStarted(noteview::INoteViewControl& view) override;
  void NoteDragEnded(noteview::INoteViewControl& view) override;
  void EscapeFromList() override;
  bool ConfirmDelete(const std::u16string& question, std::u16string_view answerId) override;

  // The reminder editor (MainReminders_win.cpp) and printing
  // (MainPrint_win.cpp).
  bool CanEditReminders() const override { return true; }
  bool EditReminder(TNotesList& list, TNoteItem& note) override;
  bool CanPrint() const override { return true; }
  void Print(noteview::INoteViewControl& view, bool showDialog, bool allNotes) override;

  // Where the pointer was when a note drag began; (-1, -1) when none runs.
  POINT DropOrigin() const { return dropOrigin_; }
  void SetDropOrigin(POINT origin) { dropOrigin_ = origin; }

private:
  TfMain& main_;
  POINT dropOrigin_{-1, -1};
};

}  // namespace vellumio::app
