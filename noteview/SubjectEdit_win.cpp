#include "noteview/SubjectEdit_win.h"

#include <algorithm>

namespace vellumio::noteview {

namespace {
bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }
}  // namespace

TSubjectEdit::TSubjectEdit(HWND parent, HINSTANCE instance) {
  Attach(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 10, 10, parent, nullptr,
                         instance, nullptr));
  UpdatePrompt();
}

std::u16string TSubjectEdit::Text() const {
  return showingPrompt_ ? std::u16string() : WindowText();
}

void TSubjectEdit::SetText(const std::u16string& text) {
  showingPrompt_ = false;
  SetControlText(text);
  UpdatePrompt();
}

void TSubjectEdit::SetPrompt(const std::u16string& prompt) {
  prompt_ = prompt;
  if (showingPrompt_) SetControlText(prompt_);
}

void TSubjectEdit::SetFonts(HFONT normal, HFONT bold) {
  normal_ = normal;
  bold_ = bold;
  UpdatePrompt();
}

void TSubjectEdit::UpdatePrompt() {
  const bool focused = GetFocus() == Handle();
  if (focused) {
    if (showingPrompt_) {
      showingPrompt_ = false;
      SetControlText(u"");
    }
    if (bold_) SetControlFont(bold_);
  } else if (GetWindowTextLengthW(Handle()) == 0 || showingPrompt_) {
    showingPrompt_ = true;
    SetControlText(prompt_);
    if (normal_) SetControlFont(normal_);
  } else if (bold_) {
    SetControlFont(bold_);
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TSubjectEdit::Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = Default(message, wParam, lParam);
      UpdatePrompt();
      return result;
    }
    case WM_CHAR:
      if (wParam == VK_RETURN || wParam == VK_TAB) {
        if (OnEnter) OnEnter();
        return 0;
      }
      if ((wParam == VK_ESCAPE || wParam == 18) && OnKey &&
          OnKey(static_cast<wchar_t>(wParam), KeyHeld(VK_SHIFT)))
        return 0;
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_SETCURSOR:
      if (showingPrompt_ && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace vellumio::noteview
