// A flat glyph button for the main window's header: no frame and no focus
// of its own, the parent's background behind it, a light wash while the
// pointer is over it and a dark one while it is pressed.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/GdiHandles_win.h"
#include "ui/Window_win.h"

namespace vellumio::ui {

// Loads a glyph bitmap by resource name; from 168 DPI on the "_32" variant
// drawn for 200 % screens, when the module has it. Null when neither exists.
HBITMAP LoadGlyphBitmap(HINSTANCE instance, const wchar_t* name, int dpi);

class TFlatButton : public TWindow {
public:
  TFlatButton(HWND parent, HINSTANCE instance);

  std::function<void()> OnClick;
  // Paints what lies behind the button: the device context's origin is the
  // button's top-left corner, `bounds` the button's rectangle in the
  // parent's client coordinates.
  std::function<void(HDC dc, const RECT& bounds)> PaintBackground;

  // The button takes ownership; white pixels of the glyph are transparent.
  void SetGlyph(HBITMAP glyph);
  HBITMAP Glyph() const { return glyph_.Get(); }

  void SetBounds(int x, int y, int width, int height);
  // The rectangle in the parent's client coordinates.
  RECT Bounds() const;

  bool Hot() const { return hot_; }
  bool Pressed() const { return pressed_ && pressedInside_; }

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void Paint();
  void DrawFace(HDC dc, const RECT& client) const;
  void DrawGlyph(HDC dc, const RECT& client) const;
  void MouseMove(POINT p);
  void ButtonDown();
  void ButtonUp(POINT p);
  void SetVisualState(bool hot, bool pressedInside);

  TBitmap glyph_;
  bool hot_ = false;
  bool pressed_ = false;
  bool pressedInside_ = false;
};

}  // namespace vellumio::ui
