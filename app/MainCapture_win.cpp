// The main window's hot keys and quote capture.
#include <windows.h>

#include "app/Main_win.h"
#include "app/MainReminders_win.h"
#include "app/capture/HotKeys_win.h"
#include "app/capture/QuoteCapture_win.h"
#include "noteview/NoteView_win.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio::app {

void TfMain::RegisterHotKeys() {
  if (!Handle() || !loader_) return;
  capture::RegisterHotKeys(Handle(), loader_->ConfStore().GeneralSettings.HotKeys);
  hotKeysRegistered_ = true;
}

void TfMain::UnregisterHotKeys() {
  if (!Handle() || !hotKeysRegistered_) return;
  capture::UnregisterHotKeys(Handle());
  hotKeysRegistered_ = false;
}

void TfMain::OnHotKey(WPARAM id) {
  if (!ready_ || loader_->IsModal()) return;
  switch (id) {
    case capture::kHotKeyGeneral:
      TrayIconClick();
      break;
    case capture::kHotKeyHide:
      HideAndReturn();
      break;
    case capture::kHotKeyQuote:
      CaptureQuote();
      break;
    case capture::kHotKeyReminder:
      reminders_->NewReminder(true);
      break;
    default:
      break;
  }
}

void TfMain::CaptureQuote() {
  // The wait for the copy handles messages: a second press meanwhile is
  // not a second capture.
  if (capturing_) return;
  if (!quoteCapture_) quoteCapture_ = std::make_unique<capture::TQuoteCapture>();
  capturing_ = true;
  std::optional<std::u16string> text;
  try {
    text = quoteCapture_->Capture(Handle());
  } catch (...) {
    // A capture that goes wrong stores nothing and says nothing.
  }
  capturing_ = false;
  if (text) EditNewNote(*text);
}

void TfMain::EditNewNote(const std::u16string& text) {
  TNotesList* list = loader_->Database().Current();
  if (!list) return;
  noteview::TNoteView* view = GetCurrentNotes();
  if (view && view->IsEditing()) view->EndEdit(false);
  TNoteItem* note = list->Insert(0);
  note->SetText(text);
  ShowIndicator();
  ForceForegroundWindow(Handle());
  if (view) {
    // The new note is the first of the list; with a filter it may not be
    // shown, and then it is simply there when the filter goes.
    const int position = list->IndexOf(note);
    if (position >= 0) view->BeginEdit(position + 1);
  }
  shownByUser_ = true;
}

}  // namespace vellumio::app
