#include "app/MainReminders_win.h"

#include "app/ApplicationWindow_win.h"
#include "app/MainNoteHost_win.h"
#include "app/Main_win.h"
#include "base/TextUtil.h"
#include "noteview/NoteView_win.h"
#include "reminders/ReminderAlert_win.h"
#include "reminders/ReminderEditor_win.h"
#include "reminders/ReminderScan.h"
#include "reminders/ReminderThread_win.h"
#include "reminders/SoundPlayer_win.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio::app {

TMainReminders::TMainReminders(TfMain& main, HINSTANCE instance)
    : main_(main),
      player_(std::make_unique<reminders::TSoundPlayer>(instance)),
      thread_(std::make_unique<reminders::TReminderThread>(instance, [this] { Scan(); })) {}

TMainReminders::~TMainReminders() {
  thread_.reset();
  player_.reset();
}

void TMainReminders::Start() { thread_->Resume(); }

void TMainReminders::Scan() {
  if (!main_.Ready()) return;
  if (TNoteItem* due = TReminderScan::FindDue(Database(), IsModal()))
    reminders::ShowReminder(*this, *due);
}

bool TMainReminders::IsModal() const { return main_.loader_->IsModal(); }
void TMainReminders::BeginModal() { main_.loader_->BeginModal(); }
void TMainReminders::EndModal() { main_.loader_->EndModal(true); }
bool TMainReminders::Ready() const { return main_.Ready(); }

bool TMainReminders::ShowSubject() const {
  return main_.loader_->ConfStore().IndicatorSettings.ShowSubject;
}

TNoteListCollection& TMainReminders::Database() { return main_.loader_->Database(); }

TReminderTask& TMainReminders::DefaultReminder() {
  return main_.loader_->ConfStore().ReminderSettings.DefaultReminder;
}

std::u16string TMainReminders::ShippedSound() const {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  const std::wstring sound = folder + L"Sounds\\reminder.wav";
  return std::u16string(sound.begin(), sound.end());
}

TNotesList* TMainReminders::SwitchToListOf(TNoteItem& note) {
  TNoteListCollection& database = Database();
  TNotesList* list = database.FindListOf(&note);
  if (!list) return nullptr;
  if (database.Current() != list) {
    main_.EndEditingAll();
    // Through the tab strip, so that its selected tab follows; the view is
    // shown at once rather than with the strip's deferred refresh, because
    // the alert selects the note in it right away.
    main_.SetCurrentNotes(*list);
    main_.ShowCurrentView();
  }
  return list;
}

void TMainReminders::BringNoteToFront(TNoteItem& note) {
  SetForegroundWindow(main_.application_.Handle());
  main_.MinimizeIndicator(false, true);
  main_.ShowIndicator();
  if (TNotesList* list = SwitchToListOf(note))
    if (INoteView* view = list->View()) view->SelectNote(note);
}

bool TMainReminders::EditReminder(TNoteItem& note, HWND owner) {
  TNotesList* list = SwitchToListOf(note);
  auto* view = list ? dynamic_cast<noteview::TNoteView*>(list->View()) : nullptr;
  if (!view) return false;
  editorOwner_ = owner;
  bool ok = false;
  try {
    ok = view->EditReminder(note);
  } catch (...) {
    editorOwner_ = nullptr;
    throw;
  }
  editorOwner_ = nullptr;
  return ok;
}

bool TMainReminders::RunEditor(TNoteItem& note) {
  reminders::TfRemind editor(*this);
  return editor.Execute(note, editorOwner_ ? editorOwner_ : main_.Handle());
}

void TMainReminders::ShowLinksMenu(TNoteItem& note, POINT at) {
  TNotesList* list = Database().FindListOf(&note);
  if (auto* view = list ? dynamic_cast<noteview::TNoteView*>(list->View()) : nullptr)
    view->ShowLinksMenu(at.x, at.y, note);
}

void TMainReminders::NewReminder(bool fromHotKey) {
  const HWND previous = GetForegroundWindow();
  {
    reminders::TModalBracket modal(*this);
    SetForegroundWindow(main_.application_.Handle());
    main_.MinimizeIndicator(false, true);
    if (Database().Current()) AddNoteWithReminder(fromHotKey ? nullptr : main_.Handle());
  }
  if (fromHotKey && previous && IsWindow(previous)) SetForegroundWindow(previous);
}

void TMainReminders::AddNoteWithReminder(HWND owner) {
  main_.EndEditingAll();
  TNoteItem scratch;
  scratch.Reminder().SetActive(true);
  reminders::TfRemind editor(*this);
  if (!editor.Execute(scratch, owner)) return;
  if (Trim(scratch.Text()).empty())
    scratch.SetText(main_.loader_->GetText(u"FMAIN", u"lEmptyNote"));
  // The current list is taken again: it may have changed while the editor
  // was open.
  if (TNotesList* current = Database().Current()) current->Insert(0)->Assign(scratch);
}

}  // namespace vellumio::app
