// A control of a common-controls class that the form's design table has no
// kind for (a tab strip, a list view, a hot-key field, an up-down button):
// created on the form after the form's own controls, placed in design
// measures and placed again whenever the form's DPI changes, with the
// form's font.
#pragma once

#include <windows.h>

#include "ui/Form_win.h"

namespace vellumio::ui {

class TFormExtraControl {
public:
  // `style` is added to WS_CHILD | WS_VISIBLE. The window belongs to the
  // form and goes with it.
  TFormExtraControl(TForm& form, const wchar_t* className, DWORD style, DWORD exStyle, int left,
                    int top, int width, int height, int id);
  TFormExtraControl(const TFormExtraControl&) = delete;
  TFormExtraControl& operator=(const TFormExtraControl&) = delete;

  HWND Handle() const { return handle_; }
  int Id() const { return id_; }
  // At the form's present DPI and font (from the form's OnDpiApplied).
  void Place() const;
  void Move(int left, int top, int width, int height);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

private:
  TForm& form_;
  HWND handle_ = nullptr;
  int id_;
  int left_, top_, width_, height_;  // design measures
};

// The width of `text` in the form's font, in design pixels (96 DPI):
// translations are longer than the texts a form was laid out for, and a
// form makes room for them with this.
int DesignTextWidth(const TForm& form, const std::u16string& text);

// Widens a button of the form to hold its caption with a margin on both
// sides, keeping its right edge (`growLeft`) or its left edge in place;
// never narrower than designed. Returns the new design left edge.
int FitButtonToCaption(TForm& form, std::u16string_view name, bool growLeft);

}  // namespace vellumio::ui
