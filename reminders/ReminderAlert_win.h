// TfReminder, the alert of a due reminder: the note's text, its sound and
// program, and the user's answer (confirm, snooze, switch off, edit).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "reminders/AlertResult.h"
#include "reminders/SymbolButton_win.h"
#include "ui/Form_win.h"
#include "ui/GdiHandles_win.h"

namespace vellumio {
class TNoteItem;
}

namespace vellumio::reminders {

class IReminderHost;

class TfReminder final : public ui::TForm {
public:
  explicit TfReminder(IReminderHost& host);
  ~TfReminder() override;

  // Shows the alert for the note and applies the answer; returns the
  // result (kAlertNone when the alert could not be shown now). The note is
  // found again by its identity after every wait for the user: it or its
  // list may be deleted meanwhile, and then nothing more is done to it.
  int ShowFor(TNoteItem& note);

  int Result() const { return result_; }
  int SnoozeTag() const { return snoozeTag_; }
  // The caption for a reminder due at `nextTime`.
  static std::u16string CaptionFor(double nextTime);
  // The memo's text: the subject and an empty line before the text when
  // subjects are shown and the note has one.
  static std::u16string MemoText(const TNoteItem& note, bool showSubject);

  // The snooze menu (exposed for the tests).
  HMENU SnoozeMenu() const;

protected:
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnPaint(HDC dc) override;
  void OnDpiApplied() override;
  void OnShown() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void Fill(TNoteItem& note);
  TNoteItem* CurrentNote();
  void ShowSnoozeMenu();
  void EditReminder();
  void ShowLinks();
  void MouseMoved(POINT p);
  bool OverPicture(POINT p) const;
  bool SoundPlaying() const;
  RECT PictureRect() const;

  IReminderHost& host_;
  int32_t noteUid_ = 0;
  int result_ = kAlertNone;
  int snoozeTag_ = 0;
  bool stopShown_ = false;
  std::unique_ptr<ui::TMenuComponent> snoozeMenu_;
  TSymbolFont symbols_;
  HBITMAP bell_ = nullptr;
  HBITMAP stop_ = nullptr;
  HBITMAP links_ = nullptr;
};

// Runs the alert for a note: makes it, shows it, frees it.
int ShowReminder(IReminderHost& host, TNoteItem& note);

}  // namespace vellumio::reminders
