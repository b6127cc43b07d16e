// The one-line editor of a note's subject. While it is empty and not
// focused it shows a prompt ("Click to add a subject") in the prompt colour
// with a hand cursor; focused it shows the subject in bold.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/SubclassedControl_win.h"

namespace vellumio::noteview {

class TSubjectEdit final : public ui::TSubclassedControl {
public:
  TSubjectEdit(HWND parent, HINSTANCE instance);

  // Empty while the prompt shows.
  std::u16string Text() const;
  void SetText(const std::u16string& text);
  bool ShowingPrompt() const { return showingPrompt_; }
  void SetPrompt(const std::u16string& prompt);

  // Normal and bold faces of the view font; not owned.
  void SetFonts(HFONT normal, HFONT bold);
  COLORREF MsgColor = RGB(255, 0, 0);  // the prompt
  COLORREF TxtColor = RGB(0, 0, 0);    // a real subject
  // The colour the text is drawn in now (the parent's WM_CTLCOLOREDIT).
  COLORREF CurrentColor() const { return showingPrompt_ ? MsgColor : TxtColor; }

  // Esc (with Shift: cancel) and Ctrl+R; true when the view used the key.
  std::function<bool(wchar_t ch, bool shift)> OnKey;
  // Enter: on to the text.
  std::function<void()> OnEnter;

  // Shows the prompt or the subject according to the focus.
  void UpdatePrompt();

protected:
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
  HFONT normal_ = nullptr;
  HFONT bold_ = nullptr;
  std::u16string prompt_;
  bool showingPrompt_ = false;
};

}  // namespace vellumio::noteview
