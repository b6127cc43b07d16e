#include "noteview/SubjectEdit_win.h"

#include <commctrl.h>

#include <algorithm>

namespace vellumio::noteview {

namespace {
constexpr UINT_PTR kSubclassId = 0x5355424A;  // "SUBJ"
bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }
}  // namespace

TSubjectEdit::TSubjectEdit(HWND parent, HINSTANCE instance) {
  hwnd_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 10, 10, parent, nullptr,
                          instance, nullptr);
  SetWindowSubclass(hwnd_, &TSubjectEdit::SubclassProc, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  UpdatePrompt();
}

TSubjectEdit::~TSubjectEdit() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, &TSubjectEdit::SubclassProc, kSubclassId);
    DestroyWindow(hwnd_);
  }
}

std::u16string TSubjectEdit::Text() const {
  if (showingPrompt_) return {};
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(0, got)));
  return std::u16string(text.begin(), text.end());
}

void TSubjectEdit::SetRawText(const std::u16string& text) {
  const std::wstring wide(text.begin(), text.end());
  SetWindowTextW(hwnd_, wide.c_str());
}

void TSubjectEdit::SetText(const std::u16string& text) {
  showingPrompt_ = false;
  SetRawText(text);
  UpdatePrompt();
}

void TSubjectEdit::SetPrompt(const std::u16string& prompt) {
  prompt_ = prompt;
  if (showingPrompt_) SetRawText(prompt_);
}

void TSubjectEdit::SetFonts(HFONT normal, HFONT bold) {
  normal_ = normal;
  bold_ = bold;
  UpdatePrompt();
}

void TSubjectEdit::UpdatePrompt() {
  const bool focused = GetFocus() == hwnd_;
  if (focused) {
    if (showingPrompt_) {
      showingPrompt_ = false;
      SetRawText(u"");
    }
    if (bold_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(bold_), TRUE);
  } else if (GetWindowTextLengthW(hwnd_) == 0 || showingPrompt_) {
    showingPrompt_ = true;
    SetRawText(prompt_);
    if (normal_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(normal_), TRUE);
  } else if (bold_) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(bold_), TRUE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT TSubjectEdit::Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(hwnd_, message, wParam, lParam);
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

LRESULT CALLBACK TSubjectEdit::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TSubjectEdit*>(data);
  bool handled = false;
  const LRESULT result = self->Message(message, wParam, lParam, handled);
  if (handled) return result;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace vellumio::noteview
