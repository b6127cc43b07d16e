#include "ui/SubclassedControl_win.h"

#include <commctrl.h>

#include <algorithm>

namespace vellumio::ui {

namespace {
constexpr UINT_PTR kSubclassId = 0x56454C4D;
}

TSubclassedControl::~TSubclassedControl() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, &TSubclassedControl::Proc, kSubclassId);
    DestroyWindow(hwnd_);
  }
}

void TSubclassedControl::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  if (hwnd_)
    SetWindowSubclass(hwnd_, &TSubclassedControl::Proc, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
}

std::u16string TSubclassedControl::WindowText() const {
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(0, got)));
  return std::u16string(text.begin(), text.end());
}

void TSubclassedControl::SetControlText(const std::u16string& text) {
  const std::wstring wide(text.begin(), text.end());
  SetWindowTextW(hwnd_, wide.c_str());
}

void TSubclassedControl::SetMargins(int left, int right) {
  marginLeft_ = left;
  marginRight_ = right;
  SendMessageW(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
}

void TSubclassedControl::SetControlFont(HFONT font) {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (marginLeft_ >= 0) SetMargins(marginLeft_, marginRight_);
}

LRESULT TSubclassedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK TSubclassedControl::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TSubclassedControl*>(data);
  bool handled = false;
  const LRESULT result = self->Message(message, wParam, lParam, handled);
  if (handled) return result;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace vellumio::ui
