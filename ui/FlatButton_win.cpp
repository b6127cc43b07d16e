#include "ui/FlatButton_win.h"

#include <windowsx.h>

#include <string>

namespace vellumio::ui {

namespace {

const wchar_t kClassName[] = L"VellumioFlatButton";
constexpr COLORREF kTransparent = RGB(255, 255, 255);
// Washes over the glass: light while hot, dark while pressed.
constexpr BYTE kHotAlpha = 70;
constexpr BYTE kPressedAlpha = 60;

// Blends a solid colour over a rectangle with a constant alpha.
void Wash(HDC dc, const RECT& r, COLORREF colour, BYTE alpha) {
  const HDC src = CreateCompatibleDC(dc);
  TBitmap pixel(CreateCompatibleBitmap(dc, 1, 1));
  {
    TSelectGuard select(src, pixel.Get());
    SetPixel(src, 0, 0, colour);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    AlphaBlend(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, 1, 1, blend);
  }
  DeleteDC(src);
}

void Frame(HDC dc, const RECT& r, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

}  // namespace

HBITMAP LoadGlyphBitmap(HINSTANCE instance, const wchar_t* name, int dpi) {
  if (dpi >= 168) {
    const std::wstring large = std::wstring(name) + L"_32";
    if (const HANDLE h =
            LoadImageW(instance, large.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) {
      return static_cast<HBITMAP>(h);
    }
  }
  return static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TFlatButton::TFlatButton(HWND parent, HINSTANCE instance) {
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  CreateWindowHandle(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, RECT{0, 0, 0, 0},
                     parent, instance);
}

void TFlatButton::SetGlyph(HBITMAP glyph) {
  glyph_.Reset(glyph);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TFlatButton::SetBounds(int x, int y, int width, int height) {
  SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, FALSE);
}

RECT TFlatButton::Bounds() const {
  RECT r;
  GetWindowRect(Handle(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TFlatButton::Paint() {
  // The background, the wash and the glyph are three layers.
  PaintDoubleBuffered(Handle(), [this](HDC dc, const RECT& client) {
    DrawFace(dc, client);
    DrawGlyph(dc, client);
  });
}

void TFlatButton::DrawFace(HDC dc, const RECT& client) const {
  if (PaintBackground) {
    PaintBackground(dc, Bounds());
  } else {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  }
  if (Pressed()) {
    Wash(dc, client, RGB(60, 20, 0), kPressedAlpha);
    Frame(dc, client, RGB(150, 60, 0));
  } else if (hot_ || pressed_) {
    Wash(dc, client, RGB(255, 255, 255), kHotAlpha);
    Frame(dc, client, RGB(255, 226, 190));
  }
}

void TFlatButton::DrawGlyph(HDC dc, const RECT& client) const {
  if (!glyph_) return;
  BITMAP info{};
  GetObjectW(glyph_.Get(), sizeof(info), &info);
  const int shift = Pressed() ? 1 : 0;
  const int x = (client.right - info.bmWidth) / 2 + shift;
  const int y = (client.bottom - info.bmHeight) / 2 + shift;
  const HDC src = CreateCompatibleDC(dc);
  {
    TSelectGuard select(src, glyph_.Get());
    TransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, src, 0, 0, info.bmWidth, info.bmHeight,
                   kTransparent);
  }
  DeleteDC(src);
}

void TFlatButton::SetVisualState(bool hot, bool pressedInside) {
  if (hot == hot_ && pressedInside == pressedInside_) return;
  hot_ = hot;
  pressedInside_ = pressedInside;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TFlatButton::MouseMove(POINT p) {
  RECT client;
  GetClientRect(Handle(), &client);
  const bool inside = PtInRect(&client, p) != FALSE;
  if (inside && !hot_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
  }
  SetVisualState(inside, pressed_ && inside);
}

void TFlatButton::ButtonDown() {
  pressed_ = true;
  SetCapture(Handle());
  SetVisualState(true, true);
}

void TFlatButton::ButtonUp(POINT p) {
  if (!pressed_) return;
  RECT client;
  GetClientRect(Handle(), &client);
  const bool inside = PtInRect(&client, p) != FALSE;
  pressed_ = false;
  ReleaseCapture();
  SetVisualState(inside, false);
  // Last: the click may open a menu or a dialog, or hide the whole window.
  if (inside && OnClick) OnClick();
}

LRESULT TFlatButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      MouseMove(p);
      return 0;
    case WM_MOUSELEAVE:
      SetVisualState(false, false);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ButtonDown();
      return 0;
    case WM_LBUTTONUP:
      ButtonUp(p);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle()) {
        pressed_ = false;
        SetVisualState(false, false);
      }
      return 0;
    default:
      return DefaultHandler(message, wParam, lParam);
  }
}

}  // namespace vellumio::ui
