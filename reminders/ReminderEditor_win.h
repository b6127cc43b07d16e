// TfRemind, the reminder editor: whether a note's reminder is on, when it
// starts and repeats, the note's text and subject, and what happens when
// it is due (a program, a sound). It previews the next time as the user
// edits, tests the sound, and loads or saves the user's default reminder.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "reminders/ReminderEditorValues.h"
#include "reminders/SymbolButton_win.h"
#include "ui/Form_win.h"

namespace vellumio {
class TNoteItem;
class TReminderTask;
}  // namespace vellumio

namespace vellumio::reminders {

class IReminderHost;

class TfRemind final : public ui::TForm {
public:
  explicit TfRemind(IReminderHost& host);
  ~TfRemind() override;

  // Runs the dialog for the note's reminder (within the program's modal
  // bracket); true when closed with OK, which stores the reminder, the
  // text and the subject into the note.
  bool Execute(TNoteItem& note, HWND owner = nullptr);

  // Made and laid out, not shown (the tests look at it this way).
  void Prepare(TNoteItem& note, HWND owner = nullptr);
  TReminderEditorValues Values() const;
  void SetValues(const TReminderEditorValues& values);
  void UpdateControls();
  void UpdatePreview();
  // The menu of the "[bAction]" button.
  void LoadDefault();
  void SaveAsDefault();
  // The play/stop button.
  void TestSound();

protected:
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnDpiApplied() override;
  bool OnKeyPreview(const MSG& msg) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void ApplySubjectLayout(bool showSubject);
  void FillLists();
  void FillWeekdays(const std::vector<TWeekdayItem>& days);
  void Load(const TReminderTask& task, bool own);
  void Save(TReminderTask& task, bool own);
  void Browse(const char16_t* edit, bool sound);
  void ShowActionMenu();
  void SoundStopped();

  IReminderHost& host_;
  TNoteItem* note_ = nullptr;
  std::unique_ptr<ui::TMenuComponent> actionMenu_;
  TSymbolFont symbols_;
  bool loading_ = false;
};

}  // namespace vellumio::reminders
