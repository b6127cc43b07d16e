// The main window's side of the reminders: the sound player, the reminder
// thread and its look for due reminders, the alert, the reminder editor
// for a note and the new note with a reminder (menu and hot key).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "reminders/ReminderHost_win.h"

namespace vellumio {
class TNotesList;
}

namespace vellumio::reminders {
class TReminderThread;
class TSoundPlayer;
}  // namespace vellumio::reminders

namespace vellumio::app {

class TfMain;

class TMainReminders final : public reminders::IReminderHost {
public:
  // Makes the sound player and the reminder thread, suspended.
  TMainReminders(TfMain& main, HINSTANCE instance);
  // Stops the thread and waits for it, then frees the player.
  ~TMainReminders() override;

  // The end of the main window's start-up: the thread starts looking.
  void Start();
  // One look for a due reminder, on the main thread (the thread wakes it).
  void Scan();
  // A new note with a reminder at the top of the current list, through the
  // editor; `fromHotKey` gives the foreground back to the program the user
  // came from.
  void NewReminder(bool fromHotKey);
  // The editor for a note of the main window's lists (the note view asks).
  bool RunEditor(TNoteItem& note);

  // IReminderHost.
  bool IsModal() const override;
  void BeginModal() override;
  void EndModal() override;
  bool Ready() const override;
  bool ShowSubject() const override;
  TNoteListCollection& Database() override;
  reminders::TSoundPlayer* Player() override { return player_.get(); }
  void BringNoteToFront(TNoteItem& note) override;
  bool EditReminder(TNoteItem& note, HWND owner) override;
  void ShowLinksMenu(TNoteItem& note, POINT at) override;
  TReminderTask& DefaultReminder() override;
  std::u16string ShippedSound() const override;

private:
  TNotesList* SwitchToListOf(TNoteItem& note);
  // The editor on a scratch note; on OK a copy goes to the top of the
  // current list.
  void AddNoteWithReminder(HWND owner);

  TfMain& main_;
  std::unique_ptr<reminders::TSoundPlayer> player_;
  std::unique_ptr<reminders::TReminderThread> thread_;
  HWND editorOwner_ = nullptr;
};

}  // namespace vellumio::app
