// What the reminder windows need of the main window: the program's modal
// bracket, its readiness, bringing a note to the front, the note view's
// reminder editor and links menu, and the database to find notes in. The
// main window implements it (app/MainReminders_win.cpp); the tests give
// their own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace vellumio {
class TNoteItem;
class TNoteListCollection;
class TReminderTask;
}  // namespace vellumio

namespace vellumio::reminders {

class TSoundPlayer;

class IReminderHost {
public:
  virtual ~IReminderHost() = default;

  virtual bool IsModal() const = 0;
  virtual void BeginModal() = 0;
  virtual void EndModal() = 0;
  // The main window has finished starting.
  virtual bool Ready() const = 0;
  virtual bool ShowSubject() const = 0;
  virtual TNoteListCollection& Database() = 0;
  virtual TSoundPlayer* Player() = 0;
  // Brings the application to the foreground, the main window out of its
  // hidden or minimised state, switches to the note's list and selects it.
  virtual void BringNoteToFront(TNoteItem& note) = 0;
  // The reminder editor for the note, owned by `owner`; true for OK.
  virtual bool EditReminder(TNoteItem& note, HWND owner) = 0;
  // The note's links menu at a screen point.
  virtual void ShowLinksMenu(TNoteItem& note, POINT at) = 0;
  // The user's default reminder (the editor loads it and saves into it).
  virtual TReminderTask& DefaultReminder() = 0;
  // The sound shipped with the program, offered where a reminder has none.
  virtual std::u16string ShippedSound() const = 0;
};

// The program's modal bracket for the life of a scope, so that an error
// in a dialog cannot leave the program believing a dialog is still open
// (which would hold every later alert back).
class TModalBracket {
public:
  explicit TModalBracket(IReminderHost& host) : host_(host) { host_.BeginModal(); }
  ~TModalBracket() { host_.EndModal(); }
  TModalBracket(const TModalBracket&) = delete;
  TModalBracket& operator=(const TModalBracket&) = delete;

private:
  IReminderHost& host_;
};

}  // namespace vellumio::reminders
