// The windows of the docked main window: the dock line, the header bar with
// its buttons and glyphs, and the notification-area icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/DockLine_win.h"
#include "app/HeaderBar_win.h"
#include "app/TrayIcon_win.h"
#include "ui/GlassFill.h"

namespace vellumio::app {
namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A plain top-level window to host the header (hidden: Wine takes seconds
// to map and unmap a window) or, visible, to hold the activation while the
// dock line appears.
class THostWindow {
public:
  THostWindow(int x, int y, int width, int height, bool visible = false)
      : hwnd_(CreateWindowExW(0, L"STATIC", L"DockWinTest",
                              WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0), x, y, width,
                              height, nullptr, nullptr, Module(), nullptr)) {}
  ~THostWindow() { DestroyWindow(hwnd_); }
  THostWindow(const THostWindow&) = delete;
  THostWindow& operator=(const THostWindow&) = delete;
  HWND Get() const { return hwnd_; }

private:
  HWND hwnd_;
};

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom, const char* what) {
  EXPECT_EQ(r.left, left) << what;
  EXPECT_EQ(r.top, top) << what;
  EXPECT_EQ(r.right, right) << what;
  EXPECT_EQ(r.bottom, bottom) << what;
}

TEST(DockLineWin, IsABorderlessToolWindowOfItsOwnClass) {
  TfCForm line(Module());
  wchar_t name[32] = {};
  GetClassNameW(line.Handle(), name, 32);
  EXPECT_STREQ(name, L"TfCForm");
  const LONG_PTR style = GetWindowLongPtrW(line.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
  EXPECT_TRUE(GetWindowLongPtrW(line.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(line.Visible());
}

TEST(DockLineWin, TransparencyIsAConstantLayeredAlpha) {
  TfCForm line(Module());
  const std::pair<int, BYTE> cases[] = {{50, 128}, {70, 76}, {0, 255}, {100, 0}};
  for (const auto& [percent, alpha] : cases) {
    line.SetTransparency(true, percent);
    ASSERT_TRUE(GetWindowLongPtrW(line.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) << percent;
    BYTE got = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(line.Handle(), nullptr, &got, &flags)) << percent;
    EXPECT_EQ(got, alpha) << percent;
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA)) << percent;
  }
  line.SetTransparency(false, 50);
  EXPECT_FALSE(GetWindowLongPtrW(line.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(DockLineWin, ShowsAtItsBoundsInTheTopmostBandWithoutTakingActivation) {
  THostWindow host(100, 100, 300, 200, true);
  SetForegroundWindow(host.Get());
  SetActiveWindow(host.Get());
  PumpMessages();
  ASSERT_EQ(GetActiveWindow(), host.Get());

  TfCForm line(Module());
  line.SetBounds(1277, 100, 3, 450);
  line.ShowNoActivate();
  EXPECT_TRUE(line.Visible());
  EXPECT_EQ(GetActiveWindow(), host.Get());
  EXPECT_NE(GetForegroundWindow(), line.Handle());
  EXPECT_TRUE(GetWindowLongPtrW(line.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ExpectRect(WindowRect(line.Handle()), 1277, 100, 1280, 550, "line");

  line.SetBounds(300, 797, 315, 3);
  ExpectRect(WindowRect(line.Handle()), 300, 797, 615, 800, "moved line");
  line.Hide();
  EXPECT_FALSE(line.Visible());
}

TEST(DockLineWin, ReportsOnlyPointerMovesThatChangeThePosition) {
  TfCForm line(Module());
  line.SetBounds(40, 60, 3, 200);
  std::vector<POINT> moves;
  int releases = 0;
  std::vector<WPARAM> deactivations;
  line.OnMouseMove = [&](POINT p) { moves.push_back(p); };
  line.OnLeftButtonUp = [&] { ++releases; };
  line.OnDeactivate = [&](WPARAM w, LPARAM) { deactivations.push_back(w); };

  SendMessageW(line.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 5));
  SendMessageW(line.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 5));
  SendMessageW(line.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 6));
  SendMessageW(line.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 5));
  ASSERT_EQ(moves.size(), 3u);
  EXPECT_EQ(moves[0].x, 41);  // screen coordinates
  EXPECT_EQ(moves[0].y, 65);
  EXPECT_EQ(moves[1].y, 66);
  // Once the pointer has left, coming back to the pixel last seen counts.
  SendMessageW(line.Handle(), WM_MOUSELEAVE, 0, 0);
  SendMessageW(line.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 5));
  EXPECT_EQ(moves.size(), 4u);

  SendMessageW(line.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 5));
  EXPECT_EQ(releases, 1);
  SendMessageW(line.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  SendMessageW(line.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  ASSERT_EQ(deactivations.size(), 1u);
  EXPECT_EQ(LOWORD(deactivations[0]), WA_INACTIVE);
}

COLORREF ScreenPixel(int x, int y) {
  const HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

TEST(DockLineWin, IsRedAndBlueWhileDeciding) {
  TfCForm line(Module());
  line.SetTransparency(false, 50);
  line.SetBounds(500, 300, 3, 120);
  line.ShowNoActivate();
  UpdateWindow(line.Handle());
  PumpMessages();
  EXPECT_EQ(ScreenPixel(501, 350), RGB(255, 0, 0));
  line.SetDeciding(true);
  PumpMessages();
  EXPECT_EQ(ScreenPixel(501, 350), RGB(0, 0, 255));
  line.SetDeciding(false);
  PumpMessages();
  EXPECT_EQ(ScreenPixel(501, 350), RGB(255, 0, 0));
}

TEST(HeaderBarWin, HeightScalesWithTheScreen) {
  EXPECT_EQ(THeaderBar::HeightForDpi(96), 23);
  EXPECT_EQ(THeaderBar::HeightForDpi(120), 29);
  EXPECT_EQ(THeaderBar::HeightForDpi(144), 35);
  EXPECT_EQ(THeaderBar::HeightForDpi(192), 46);
}

TEST(HeaderBarWin, ButtonsFollowEveryResize) {
  THostWindow host(100, 100, 400, 300);
  THeaderBar header(host.Get(), Module());
  header.SetDpi(96);
  for (int width : {315, 250, 400}) {
    header.SetBounds(0, 0, width);
    RECT client;
    GetClientRect(header.Handle(), &client);
    ASSERT_EQ(client.right, width);
    ASSERT_EQ(client.bottom, 23);
    ExpectRect(header.MenuBut().Bounds(), 0, 0, 23, 23, "MenuBut");
    ExpectRect(header.bMin().Bounds(), width - 25, 0, width - 2, 23, "bMin");
    ExpectRect(header.bTop().Bounds(), width - 48, 0, width - 25, 23, "bTop");
    ExpectRect(header.bSearch().Bounds(), width - 71, 0, width - 48, 23, "bSearch");
  }
  header.SetDpi(192);
  header.SetBounds(0, 0, 315);
  ExpectRect(header.MenuBut().Bounds(), 0, 0, 46, 46, "MenuBut at 200 %");
  ExpectRect(header.bMin().Bounds(), 315 - 48, 0, 313, 46, "bMin at 200 %");
  ExpectRect(header.bSearch().Bounds(), 315 - 140, 0, 315 - 94, 46, "bSearch at 200 %");
}

std::vector<uint32_t> Pixels(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = info.bmWidth;
  bi.bmiHeader.biHeight = -info.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
  const HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

std::vector<uint32_t> ResourcePixels(const wchar_t* name) {
  const HBITMAP b = ui::LoadGlyphBitmap(Module(), name, 96);
  std::vector<uint32_t> pixels = Pixels(b);
  DeleteObject(b);
  return pixels;
}

TEST(HeaderBarWin, PinGlyphFollowsThePin) {
  THostWindow host(100, 100, 400, 300);
  THeaderBar header(host.Get(), Module());
  header.SetDpi(96);
  const auto pinned = ResourcePixels(L"BMP_PINA");
  const auto loose = ResourcePixels(L"BMP_PINB");
  ASSERT_NE(pinned, loose);
  EXPECT_EQ(Pixels(header.bTop().Glyph()), loose);
  header.SetPinned(true);
  EXPECT_TRUE(header.Pinned());
  EXPECT_EQ(Pixels(header.bTop().Glyph()), pinned);
  header.SetPinned(false);
  EXPECT_EQ(Pixels(header.bTop().Glyph()), loose);
  EXPECT_EQ(Pixels(header.bSearch().Glyph()), ResourcePixels(L"BMP_SEARCH"));
  EXPECT_EQ(Pixels(header.bMin().Glyph()), ResourcePixels(L"BMP_CLOSE"));
  EXPECT_EQ(Pixels(header.MenuBut().Glyph()), ResourcePixels(L"BMP_MENUGLFOR"));
}

TEST(HeaderBarWin, ButtonsReportTheirClicks) {
  THostWindow host(100, 100, 400, 300);
  THeaderBar header(host.Get(), Module());
  header.SetBounds(0, 0, 315);
  std::wstring clicked;
  header.OnMenuClick = [&] { clicked += L"M"; };
  header.OnSearchClick = [&] { clicked += L"S"; };
  header.OnPinClick = [&] { clicked += L"P"; };
  header.OnMinimizeClick = [&] { clicked += L"N"; };
  for (ui::TFlatButton* b :
       {&header.MenuBut(), &header.bSearch(), &header.bTop(), &header.bMin()}) {
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  }
  // Released outside the button: no click.
  SendMessageW(header.bMin().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(header.bMin().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 300));
  EXPECT_EQ(clicked, L"MSPN");
}

// Real pointer input at a screen point, as the system delivers it.
void SendPointer(int x, int y, DWORD buttonFlags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
  SendInput(1, &in, sizeof(in));
  for (int i = 0; i < 10; ++i) {
    PumpMessages();
    Sleep(10);
  }
}

TEST(HeaderBarWin, DraggingTheHeaderMovesTheWindow) {
  THostWindow host(200, 200, 315, 300, true);
  THeaderBar header(host.Get(), Module());
  header.SetDpi(96);
  header.SetBounds(0, 0, 315);
  int moves = 0;
  header.OnPointerMoved = [&] { ++moves; };
  UpdateWindow(host.Get());
  PumpMessages();

  SendPointer(350, 210, 0);
  SendPointer(350, 210, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(header.Dragging());
  EXPECT_EQ(header.DragStart().x, 150);
  EXPECT_EQ(header.DragStart().y, 10);
  SendPointer(380, 230, 0);
  SendPointer(400, 250, 0);
  SendPointer(400, 250, MOUSEEVENTF_LEFTUP);
  EXPECT_FALSE(header.Dragging());
  ExpectRect(WindowRect(host.Get()), 250, 240, 565, 540, "dragged window");
  EXPECT_GE(moves, 2);

  // Without the button held the window stays.
  SendPointer(420, 260, 0);
  ExpectRect(WindowRect(host.Get()), 250, 240, 565, 540, "after the drag");
}

// The colour of the header at a point, painted off screen.
class THeaderPicture {
public:
  explicit THeaderPicture(const THeaderBar& header) {
    GetClientRect(header.Handle(), &client_);
    const HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, client_.right, client_.bottom);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    header.PaintHeader(dc_, client_);
  }
  ~THeaderPicture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  THeaderPicture(const THeaderPicture&) = delete;
  THeaderPicture& operator=(const THeaderPicture&) = delete;
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  int WhitePixels(int left, int right) const {
    int n = 0;
    for (int y = 0; y < client_.bottom; ++y) {
      for (int x = left; x < right; ++x) n += At(x, y) == RGB(255, 255, 255);
    }
    return n;
  }

private:
  RECT client_{};
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Gradients are interpolated, so only the colours at the band edges are
// exact up to a step.
void ExpectNear(COLORREF got, uint32_t want, const char* what, int tolerance = 4) {
  EXPECT_NEAR(GetRValue(got), GetRValue(want), tolerance) << what;
  EXPECT_NEAR(GetGValue(got), GetGValue(want), tolerance) << what;
  EXPECT_NEAR(GetBValue(got), GetBValue(want), tolerance) << what;
}

TEST(HeaderBarWin, PaintsOrangeGlassWithAWhiteTitleAndLitStrips) {
  THostWindow host(100, 100, 400, 300);
  THeaderBar header(host.Get(), Module());
  header.SetDpi(96);
  header.SetBounds(0, 0, 315);
  const uint32_t a = ui::GlassRgb(211, 99, 0);
  const uint32_t b = ui::GlassRgb(255, 189, 131);
  {
    const THeaderPicture picture(header);
    ExpectNear(picture.At(30, 0), ui::GlassMix(a, b, 250), "top of the highlight");
    ExpectNear(picture.At(30, 8), a, "top of the body");
    // The last row is one step short of the band's end colour.
    ExpectNear(picture.At(30, 22), ui::GlassMix(a, b, 220), "bottom", 8);
    const RECT pin = header.bTop().Bounds();
    ExpectNear(picture.At(pin.left + 1, 8), a, "pin strip while not pinned");
    EXPECT_GT(picture.WhitePixels(60, 240), 40);
    EXPECT_EQ(picture.WhitePixels(30, 60), 0);
  }
  header.SetPinned(true);
  header.SetSearchShown(true);
  {
    const THeaderPicture picture(header);
    const RECT pin = header.bTop().Bounds();
    const RECT search = header.bSearch().Bounds();
    ExpectNear(picture.At(pin.left + 1, 8), ui::GlassRgb(255, 152, 61), "pin strip");
    ExpectNear(picture.At(search.left + 1, 8), ui::GlassRgb(181, 45, 0), "search strip");
    ExpectNear(picture.At(search.left + 1, 0),
               ui::GlassMix(ui::GlassRgb(181, 45, 0), ui::GlassRgb(255, 255, 225), 250),
               "search highlight");
    ExpectNear(picture.At(search.left - 1, 8), a, "left of the search strip");
  }
}

TEST(Glyphs, EveryGlyphLoadsFromTheResourcesInBothSizes) {
  const wchar_t* names[] = {L"BMP_MENUGLFOR", L"BMP_SEARCH", L"BMP_CLOSE", L"BMP_PINA", L"BMP_PINB",
                            L"MENU_BELL",     L"MENU_FIND",  L"MENU_HELP"};
  for (const wchar_t* name : names) {
    for (const auto& [dpi, size] : {std::pair{96, 16}, std::pair{192, 32}}) {
      const HBITMAP glyph = ui::LoadGlyphBitmap(Module(), name, dpi);
      ASSERT_NE(glyph, nullptr) << static_cast<const void*>(name);
      BITMAP info{};
      GetObjectW(glyph, sizeof(info), &info);
      EXPECT_EQ(info.bmWidth, size);
      EXPECT_EQ(info.bmHeight, size);
      const auto pixels = Pixels(glyph);
      // Transparent (white) at the corner, with something drawn on it.
      EXPECT_EQ(pixels.front(), 0xFFFFFFu);
      size_t drawn = 0;
      for (uint32_t p : pixels) drawn += p != 0xFFFFFFu;
      EXPECT_GT(drawn, pixels.size() / 10);
      DeleteObject(glyph);
    }
  }
  EXPECT_EQ(ui::LoadGlyphBitmap(Module(), L"BMP_NO_SUCH_GLYPH", 96), nullptr);
}

HICON TestIcon() { return LoadIconW(nullptr, IDI_APPLICATION); }

TEST(TrayIconWin, AppearsOnlyWhileEnabledAndVisible) {
  TTrayIcon tray(Module());
  tray.SetIcon(TestIcon());
  tray.SetTooltip(L"Vellumio 2.2");
  EXPECT_FALSE(tray.Shown());
  EXPECT_FALSE(tray.ShowBalloon(L"Vellumio 2.2", L"Not yet", 5));
  tray.SetEnabled(true);
  ASSERT_TRUE(tray.Shown()) << "the shell refused the icon";
  EXPECT_TRUE(tray.ShowBalloon(std::wstring(100, L'T'), std::wstring(400, L'x'), 20));
  tray.SetVisible(false);
  EXPECT_FALSE(tray.Shown());
  tray.SetVisible(true);
  EXPECT_TRUE(tray.Shown());
  tray.SetEnabled(false);
  EXPECT_FALSE(tray.Shown());
}

TEST(TrayIconWin, ComesBackWhenTheTaskbarIsCreatedAgain) {
  TTrayIcon tray(Module());
  tray.SetIcon(TestIcon());
  tray.SetEnabled(true);
  ASSERT_TRUE(tray.Shown());
  SendMessageW(tray.Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(tray.Shown());
  tray.SetEnabled(false);
  SendMessageW(tray.Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_FALSE(tray.Shown());
}

TEST(TrayIconWin, DeliversTheMouseEventsOfTheIcon) {
  TTrayIcon tray(Module());
  std::wstring events;
  tray.OnLeftPress = [&] { events += L"L"; };
  tray.OnLeftDoubleClick = [&] { events += L"D"; };
  tray.OnRightRelease = [&] { events += L"R"; };
  const UINT sequence[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                           WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEMOVE};
  for (UINT m : sequence) SendMessageW(tray.Handle(), TTrayIcon::kCallbackMessage, 1, m);
  // Another icon's id is not ours.
  SendMessageW(tray.Handle(), TTrayIcon::kCallbackMessage, 2, WM_LBUTTONDOWN);
  EXPECT_EQ(events, L"LDR");
}

}  // namespace
}  // namespace vellumio::app
