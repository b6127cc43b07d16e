#include "ui/FormExtraControl_win.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>

namespace vellumio::ui {

TFormExtraControl::TFormExtraControl(TForm& form, const wchar_t* className, DWORD style,
                                     DWORD exStyle, int left, int top, int width, int height, int id)
    : form_(form), id_(id), left_(left), top_(top), width_(width), height_(height) {
  // The program registers these classes at start; the tests' forms come
  // here without that.
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
  handle_ = CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                            form.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
  if (!handle_)
    throw std::runtime_error("Cannot create a control (error " + std::to_string(GetLastError()) +
                             ")");
  Place();
}

void TFormExtraControl::Place() const {
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.Font()), FALSE);
  SetWindowPos(handle_, nullptr, form_.Scale(left_), form_.Scale(top_), form_.Scale(width_),
               form_.Scale(height_), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormExtraControl::Move(int left, int top, int width, int height) {
  left_ = left, top_ = top, width_ = width, height_ = height;
  Place();
}

int DesignTextWidth(const TForm& form, const std::u16string& text) {
  SIZE extent{};
  const HDC dc = GetDC(form.Handle());
  const HGDIOBJ old = SelectObject(dc, form.Font());
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()),
                        static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(form.Handle(), dc);
  return MulDiv(extent.cx, 96, form.Dpi());
}

int FitButtonToCaption(TForm& form, std::u16string_view name, bool growLeft) {
  TFormControl& button = form.At(name);
  const TControlSpec spec = button.Spec();
  const int needed = DesignTextWidth(form, button.Text()) + 24;
  if (needed <= spec.width) return spec.left;
  const int left = growLeft ? spec.left + spec.width - needed : spec.left;
  form.MoveControl(name, left, spec.top, needed, spec.height);
  return left;
}

}  // namespace vellumio::ui
