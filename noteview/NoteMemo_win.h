// The editor of a note's text while the note is edited in place: a
// borderless multi-line edit control that shows its vertical scroll bar
// only when the text has more lines than fit, and hands the view the keys
// that mean something to the note (Esc, Shift+Esc, Ctrl+R).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/SubclassedControl_win.h"

namespace vellumio::noteview {

class TNoteMemo final : public ui::TSubclassedControl {
public:
  TNoteMemo(HWND parent, HINSTANCE instance);
  // Loads the rich edit control's library ahead of the first edit (the
  // first load can take a moment on a cold system).
  static void LoadControlLibrary();

  std::u16string Text() const;
  // Background and text colour (a plain edit control takes them from its
  // parent's WM_CTLCOLOREDIT instead).
  void SetColors(COLORREF background, COLORREF text);
  bool IsRich() const { return rich_; }
  void SetText(const std::u16string& text);
  void SetFont(HFONT font);
  // The position in the list of the note being edited.
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  // Esc (with Shift: cancel) and Ctrl+R; true when the view used the key.
  std::function<bool(wchar_t ch, bool shift)> OnKey;
  // The text changed (after the scroll bar update was queued).
  std::function<void()> OnChange;
  // Queues the scroll bar update after the current message.
  std::function<void(std::function<void()>)> Defer;

  // Called by the parent for EN_CHANGE.
  void TextChanged();
  // Shows the vertical scroll bar only when the text has more lines than
  // fit; the caret and the selection stay where they were.
  void UpdateScrollBar();

protected:
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
  void DeleteCaretLine();
  void QueueScrollBarUpdate();

  HFONT font_ = nullptr;
  bool rich_ = false;
  COLORREF background_ = RGB(255, 255, 255), text_ = RGB(0, 0, 0);
  int tag_ = 0;
  bool scrollBar_ = false;
};

}  // namespace vellumio::noteview
