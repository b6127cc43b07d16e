// The filter bar under the main window's header (searchPan): a close
// button, the "Filter:" label, the filter field, and the buttons that step
// to the previous or next list with matches. It only reports what the
// user does; the main window applies the filter.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/SubclassedControl_win.h"
#include "ui/Window_win.h"

namespace vellumio::ui {
class TFlatButton;
}

namespace vellumio::app {

class TSearchPanel final : public ui::TWindow {
public:
  TSearchPanel(HWND parent, HINSTANCE instance);
  ~TSearchPanel() override;

  int Height() const { return MulDiv(30, dpi_, 96); }
  void SetDpi(int dpi);
  void SetFont(HFONT font);
  void SetBounds(int x, int y, int width);
  void SetLabel(const std::u16string& text);

  std::u16string Text() const;
  // Puts the text in the field with the caret at its end (the field's
  // change event follows, as for typing).
  void SetText(const std::u16string& text);
  void FocusField();
  bool FieldFocused() const;
  HWND FieldHandle() const;
  // Shows the previous and next buttons; the field makes room for them.
  void SetStepButtons(bool previous, bool next);

  std::function<void()> OnClose;
  std::function<void()> OnChanged;
  std::function<void(int step)> OnStep;  // -1 previous, 1 next
  // A key pressed in the field; true when it was taken.
  std::function<bool(unsigned key)> OnFieldKey;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  class TField;
  void LayOut();
  void Paint(HDC dc, const RECT& client) const;

  HINSTANCE instance_;
  int dpi_ = 96;
  HWND label_ = nullptr;
  std::unique_ptr<ui::TFlatButton> close_, previous_, next_;
  std::unique_ptr<TField> field_;
  HFONT font_ = nullptr;
};

}  // namespace vellumio::app
