// The program's message box: a system icon, a Unicode text, Yes and No (or
// OK alone) and, when asked for, a do-not-show-again check box whose Yes is
// remembered in the settings ("Dialogs\<msgId>", value DefaultAnswer), so
// that the same question is answered at once next time. The system's
// MessageBox is never used: it can neither remember answers nor show the
// program's own button texts.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Form_win.h"

namespace vellumio {

// Results, as the system's message box has them.
inline constexpr int kMsgYes = IDYES;        // 6: Yes or OK, or a remembered answer
inline constexpr int kMsgCancel = IDCANCEL;  // 2: No, Escape or the box closed

class TuMsg final : public ui::TForm {
public:
  // `iconId`: IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION or IDI_ASTERISK.
  // `owner`: a control to place the box near, or null for the centre of
  // the screen. Errors of the settings back-end propagate; the box and
  // the modal state are left on every path.
  static int ShowMsg(LPCWSTR iconId, const std::u16string& caption, const std::u16string& text,
                     const std::u16string& msgId, HWND owner, bool okOnly, bool showCheckBox);

  // Forgets every remembered answer.
  static void EnableAllMessages();

  // The settings section of a message's remembered answer.
  static std::u16string AnswerSection(const std::u16string& msgId);

private:
  explicit TuMsg(LPCWSTR iconId);

  void SetButtons(bool okOnly);
  // Sets the text and makes the box taller when the text needs more than
  // the designed height, so that no line is cut off.
  void SetMessage(const std::u16string& text);
  int MessageHeight(const std::u16string& text) const;

  void OnPaint(HDC dc) override;
  void OnShown() override;

  HICON icon_;
  LPCWSTR iconId_;
};

}  // namespace vellumio
