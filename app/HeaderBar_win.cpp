#include "app/HeaderBar_win.h"

#include <windowsx.h>

#include "ui/GlassFill.h"
#include "ui/GlassPaint_win.h"

namespace vellumio::app {

namespace {

const wchar_t kClassName[] = L"AllHeaderPan";
const wchar_t kTitle[] = L"Vellumio 2.2";
constexpr int kDesignHeight = 23;
constexpr int kDesignButtonWidth = 23;
constexpr int kRightMargin = 2;
constexpr int kTitleRightInset = 20;
constexpr int kTitlePoints = 10;

struct TGlassColours {
  uint32_t a, b;
};
constexpr TGlassColours kHeaderGlass{ui::GlassRgb(211, 99, 0), ui::GlassRgb(255, 189, 131)};
constexpr TGlassColours kSearchGlass{ui::GlassRgb(181, 45, 0), ui::GlassRgb(255, 255, 225)};
constexpr TGlassColours kPinGlass{ui::GlassRgb(255, 152, 61), ui::GlassRgb(255, 189, 131)};

int Scale(int value, int dpi) { return MulDiv(value, dpi, 96); }

// Per-monitor DPI where the system has it (Windows 10), else the screen's.
int WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi) {
    if (const UINT dpi = getDpi(hwnd)) return static_cast<int>(dpi);
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

void FillGlass(HDC dc, const RECT& r, TGlassColours colours) {
  ui::FillGlass(dc, r, colours.a, colours.b);
}

}  // namespace

THeaderBar::THeaderBar(HWND parent, HINSTANCE instance) : instance_(instance) {
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  CreateWindowHandle(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                     RECT{0, 0, 0, 0}, parent, instance);
  dpi_ = WindowDpi(parent);
  menuBut_ = MakeButton(&THeaderBar::OnMenuClick);
  bSearch_ = MakeButton(&THeaderBar::OnSearchClick);
  bTop_ = MakeButton(&THeaderBar::OnPinClick);
  bMin_ = MakeButton(&THeaderBar::OnMinimizeClick);
  CreateTitleFont();
  LoadGlyphs();
}

std::unique_ptr<ui::TFlatButton> THeaderBar::MakeButton(
    std::function<void()> THeaderBar::*callback) {
  auto button = std::make_unique<ui::TFlatButton>(Handle(), instance_);
  button->OnClick = [this, callback] {
    if (this->*callback) (this->*callback)();
  };
  button->PaintBackground = [this](HDC dc, const RECT& bounds) {
    RECT client;
    GetClientRect(Handle(), &client);
    POINT old;
    SetViewportOrgEx(dc, -bounds.left, -bounds.top, &old);
    PaintHeader(dc, client);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
  };
  return button;
}

int THeaderBar::HeightForDpi(int dpi) { return Scale(kDesignHeight, dpi); }

void THeaderBar::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  CreateTitleFont();
  LoadGlyphs();
  RECT r;
  GetClientRect(Handle(), &r);
  SetWindowPos(Handle(), nullptr, 0, 0, r.right, Height(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

void THeaderBar::SetBounds(int x, int y, int width) {
  SetWindowPos(Handle(), nullptr, x, y, width, Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void THeaderBar::SetPinned(bool pinned) {
  pinned_ = pinned;
  LoadPinGlyph();
  InvalidateRect(Handle(), nullptr, FALSE);
  InvalidateRect(bTop_->Handle(), nullptr, FALSE);
}

void THeaderBar::SetSearchShown(bool shown) {
  if (shown == searchShown_) return;
  searchShown_ = shown;
  InvalidateRect(Handle(), nullptr, FALSE);
  InvalidateRect(bSearch_->Handle(), nullptr, FALSE);
}

void THeaderBar::CreateTitleFont() {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(kTitlePoints, dpi_, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcscpy_s(lf.lfFaceName, L"Segoe UI");
  titleFont_.Reset(CreateFontIndirectW(&lf));
}

void THeaderBar::LoadGlyphs() {
  menuBut_->SetGlyph(ui::LoadGlyphBitmap(instance_, L"BMP_MENUGLFOR", dpi_));
  bSearch_->SetGlyph(ui::LoadGlyphBitmap(instance_, L"BMP_SEARCH", dpi_));
  bMin_->SetGlyph(ui::LoadGlyphBitmap(instance_, L"BMP_CLOSE", dpi_));
  LoadPinGlyph();
}

void THeaderBar::LoadPinGlyph() {
  bTop_->SetGlyph(ui::LoadGlyphBitmap(instance_, pinned_ ? L"BMP_PINA" : L"BMP_PINB", dpi_));
}

// The menu button is square at the left; the other three keep their width
// and line up from the right edge, leaving a small margin.
void THeaderBar::Layout() {
  RECT client;
  GetClientRect(Handle(), &client);
  const int h = client.bottom;
  const int w = Scale(kDesignButtonWidth, dpi_);
  menuBut_->SetBounds(0, 0, h, h);
  const int minLeft = client.right - kRightMargin - w;
  bMin_->SetBounds(minLeft, 0, w, h);
  bTop_->SetBounds(minLeft - w, 0, w, h);
  bSearch_->SetBounds(minLeft - 2 * w, 0, w, h);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void THeaderBar::PaintHeader(HDC dc, const RECT& client) const {
  FillGlass(dc, client, kHeaderGlass);
  if (searchShown_) {
    const RECT b = bSearch_->Bounds();
    FillGlass(dc, RECT{b.left, client.top, b.right, client.bottom}, kSearchGlass);
  }
  if (pinned_) {
    const RECT b = bTop_->Bounds();
    FillGlass(dc, RECT{b.left, client.top, b.right, client.bottom}, kPinGlass);
  }
  RECT text = client;
  text.right -= kTitleRightInset;
  ui::TSelectGuard font(dc, titleFont_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextW(dc, kTitle, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void THeaderBar::Paint() {
  ui::PaintDoubleBuffered(Handle(),
                          [this](HDC dc, const RECT& client) { PaintHeader(dc, client); });
}

// Only with the ordinary arrow: a busy or drag cursor set by the program
// means something else is going on.
void THeaderBar::LeftButtonDown(POINT p) {
  if (GetCursor() != LoadCursorW(nullptr, IDC_ARROW)) return;
  dragging_ = true;
  dragStart_ = p;
  SetCapture(Handle());
}

void THeaderBar::MouseMove(POINT p) {
  if (OnPointerMoved) OnPointerMoved();
  if ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0) {
    if (dragging_ && GetCapture() == Handle()) ReleaseCapture();
    dragging_ = false;
  }
  if (!dragging_) return;
  // The header moves with the window, so the pointer's distance from the
  // point where the drag began is the whole displacement.
  const HWND top = GetAncestor(Handle(), GA_ROOT);
  RECT r;
  GetWindowRect(top, &r);
  SetWindowPos(top, nullptr, r.left + p.x - dragStart_.x, r.top + p.y - dragStart_.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT THeaderBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_LBUTTONDOWN:
      LeftButtonDown(p);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == Handle()) ReleaseCapture();
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(p);
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    default:
      return DefaultHandler(message, wParam, lParam);
  }
}

}  // namespace vellumio::app
