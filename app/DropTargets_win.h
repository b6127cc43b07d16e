// pDrag: the small panel that appears in the lower right corner of the
// back panel while notes or a tab are dragged, with the print target on
// the left and the delete target on the right. The print target is drawn
// greyed and accepts nothing until the program can print.
#pragma once

#include <windows.h>

#include "ui/GdiHandles_win.h"
#include "ui/Window_win.h"

namespace vellumio::app {

enum class TDropTarget { kNone, kDelete, kPrint };

class TDropTargets final : public ui::TWindow {
public:
  TDropTargets(HWND parent, HINSTANCE instance);

  void SetDpi(int dpi);
  void SetCanPrint(bool canPrint);
  bool CanPrint() const { return canPrint_; }
  // Shows the panel 5 pixels in from the parent's lower right corner.
  void ShowInCorner();
  void Hide();
  bool Shown() const;
  // The target under a screen point (kNone while hidden).
  TDropTarget TargetAt(POINT screen) const;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void Paint(HDC dc, const RECT& client) const;
  void DrawGlyph(HDC dc, HBITMAP glyph, const RECT& area, bool greyed) const;
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  HINSTANCE instance_;
  int dpi_ = 96;
  bool canPrint_ = false;
  ui::TBitmap deleteGlyph_, printGlyph_;
};

}  // namespace vellumio::app
