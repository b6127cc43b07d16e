// The main window's side of printing: the print dialog, the text of the
// notes, the printer, and the user told when a job fails.
#include <windows.h>

#include <exception>

#include "app/MainNoteHost_win.h"
#include "app/Main_win.h"
#include "base/Utf8.h"
#include "lang/Message_win.h"
#include "noteview/NoteCommands.h"
#include "noteview/NoteViewHost.h"
#include "print/AdvPrintDialog_win.h"
#include "print/PrintString_win.h"
#include "print/PrinterDC_win.h"

namespace vellumio::app {

void TMainNoteHost::Print(noteview::INoteViewControl& view, bool showDialog, bool allNotes) {
  main_.PrintNotes(view, showDialog, allNotes);
}

void TfMain::PrintNotes(noteview::INoteViewControl& view, bool forceDialog, bool allNotes) {
  PrintText(view.SelectedText(-1, allNotes), forceDialog);
}

void TfMain::PrintText(const std::u16string& text, bool forceDialog) {
  if (!loader_ || loader_->IsModal()) return;
  EndEditingAll();
  loader_->BeginModal();
  try {
    TPrintSettings settings;
    bool print = false;
    {
      TfAdvPrint dialog;
      print = dialog.Execute(loader_->ConfStore(), forceDialog, settings, Handle());
    }
    if (print) {
      const TPrinterDC printer;
      if (!printer.Handle()) throw std::runtime_error("No printer is available.");
      PrintNotesText(printer.Handle(), text, settings);
    }
  } catch (const std::exception& e) {
    // The job was aborted on the way out; the user learns why.
    TuMsg::ShowMsg(IDI_HAND, loader_->GetText(u"", u".lWarning"), FromUtf8(e.what()), u"", Handle(),
                   true, false);
  }
  loader_->EndModal(false);
}

}  // namespace vellumio::app
