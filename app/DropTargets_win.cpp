#include "app/DropTargets_win.h"

#include "ui/FlatButton_win.h"

namespace vellumio::app {

namespace {
constexpr wchar_t kClassName[] = L"TVellumioDrag";
constexpr int kWidth = 85, kHeight = 45;
constexpr int kPrintWidth = 42;  // the left part; the delete target the right 38 (less the border)
}  // namespace

TDropTargets::TDropTargets(HWND parent, HINSTANCE instance) : instance_(instance) {
  static const bool registered =
      ui::TWindow::RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  (void)registered;
  CreateWindowHandle(kClassName, L"", WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS, 0,
                     RECT{0, 0, kWidth, kHeight}, parent, instance);
  SetDpi(96);
}

void TDropTargets::SetDpi(int dpi) {
  dpi_ = dpi;
  // The menu's glyphs, twice their menu size (the 32-pixel variants).
  deleteGlyph_.Reset(ui::LoadGlyphBitmap(instance_, L"MENU_DELETE", 192));
  printGlyph_.Reset(ui::LoadGlyphBitmap(instance_, L"MENU_PRINT", 192));
}

void TDropTargets::SetCanPrint(bool canPrint) {
  if (canPrint == canPrint_) return;
  canPrint_ = canPrint;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TDropTargets::ShowInCorner() {
  RECT parent;
  GetClientRect(GetParent(Handle()), &parent);
  const int width = Scale(kWidth), height = Scale(kHeight);
  SetWindowPos(Handle(), HWND_TOP, parent.right - Scale(5) - width,
               parent.bottom - Scale(5) - height, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(Handle());
}

void TDropTargets::Hide() { ShowWindow(Handle(), SW_HIDE); }

bool TDropTargets::Shown() const { return IsWindowVisible(Handle()) != FALSE; }

TDropTarget TDropTargets::TargetAt(POINT screen) const {
  if (!Shown()) return TDropTarget::kNone;
  RECT window;
  GetWindowRect(Handle(), &window);
  if (!PtInRect(&window, screen)) return TDropTarget::kNone;
  return screen.x - window.left < Scale(kPrintWidth) ? TDropTarget::kPrint : TDropTarget::kDelete;
}

void TDropTargets::DrawGlyph(HDC dc, HBITMAP glyph, const RECT& area, bool greyed) const {
  if (!glyph) return;
  BITMAP info{};
  GetObjectW(glyph, sizeof(info), &info);
  const int size = Scale(32);
  const int x = (area.left + area.right - size) / 2, y = (area.top + area.bottom - size) / 2;
  const HDC source = CreateCompatibleDC(dc);
  {
    ui::TSelectGuard select(source, glyph);
    // White is the glyphs' background.
    TransparentBlt(dc, x, y, size, size, source, 0, 0, info.bmWidth, info.bmHeight,
                   RGB(255, 255, 255));
  }
  DeleteDC(source);
  if (greyed) {
    // A veil of the panel's colour over the picture: there, but not for now.
    const HDC veil = CreateCompatibleDC(dc);
    ui::TBitmap one(CreateCompatibleBitmap(dc, 1, 1));
    {
      ui::TSelectGuard select(veil, one.Get());
      SetPixel(veil, 0, 0, GetSysColor(COLOR_BTNFACE));
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 170, 0};
      AlphaBlend(dc, x, y, size, size, veil, 0, 0, 1, 1, blend);
    }
    DeleteDC(veil);
  }
}

void TDropTargets::Paint(HDC dc, const RECT& client) const {
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const int split = Scale(kPrintWidth);
  DrawGlyph(dc, printGlyph_.Get(), RECT{0, 0, split, client.bottom}, !canPrint_);
  RECT line{split, Scale(6), split + 1, client.bottom - Scale(6)};
  FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
  DrawGlyph(dc, deleteGlyph_.Get(), RECT{split + 1, 0, client.right, client.bottom}, false);
}

LRESULT TDropTargets::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      ui::PaintDoubleBuffered(Handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::app
