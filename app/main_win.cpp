// Process entry of Vellumio.exe.
//
// For now the program opens one small top-level window of the class the
// second-copy protocol looks for ("TfMain"); the docked main window replaces
// it. "/selftest-close" closes the window by itself after a moment, so that
// the test run can check under Wine that the program starts, shows its
// window with its resources and ends with exit code 0.
// <windows.h> first: the other system headers depend on it.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <type_traits>

#include "app/Window_win.h"
#include "res/resource.h"

namespace vellumio::app {
namespace {

constexpr wchar_t kMainClassName[] = L"TfMain";
constexpr UINT_PTR kSelfTestTimer = 1;
constexpr UINT kSelfTestDelayMs = 700;

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// Restores the object that was selected into a device context.
class SelectGuard {
public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

int ScreenDpi() {
  const HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

// The system's message font at the given DPI and point-size factor.
UniqueFont MessageFont(int dpi, int scalePercent) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  const int systemDpi = ScreenDpi();
  font.lfHeight = MulDiv(font.lfHeight, dpi * scalePercent, systemDpi * 100);
  return UniqueFont(CreateFontIndirectW(&font));
}

class TStartWindow final : public TWindow {
public:
  TStartWindow(HINSTANCE instance, bool selfTest) : instance_(instance), selfTest_(selfTest) {}

  void Open() {
    dpi_ = ScreenDpi();
    const int width = MulDiv(420, dpi_, 96), height = MulDiv(220, dpi_, 96);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    const RECT bounds{left, top, left + width, top + height};
    CreateWindowHandle(kMainClassName, L"Vellumio", WS_OVERLAPPEDWINDOW, 0, bounds, nullptr,
                       instance_);
    CreateFonts();
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    if (selfTest_) SetTimer(Handle(), kSelfTestTimer, kSelfTestDelayMs, nullptr);
  }

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        return OnPaint();
      case WM_TIMER:
        if (wParam == kSelfTestTimer) PostMessageW(Handle(), WM_CLOSE, 0, 0);
        return 0;
      case WM_DPICHANGED:
        return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      case WM_CLOSE:
        KillTimer(Handle(), kSelfTestTimer);
        DestroyWindow(Handle());
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return DefaultHandler(message, wParam, lParam);
    }
  }

private:
  void CreateFonts() {
    titleFont_ = MessageFont(dpi_, 200);
    textFont_ = MessageFont(dpi_, 100);
  }

  LRESULT OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    CreateFonts();
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, TRUE);
    return 0;
  }

  LRESULT OnPaint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(Handle(), &ps);
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const int iconSize = MulDiv(48, dpi_, 96), margin = MulDiv(20, dpi_, 96);
    const HICON icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_MAINICON),
                                                     IMAGE_ICON, iconSize, iconSize, LR_SHARED));
    if (icon) DrawIconEx(dc, margin, margin, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text{margin * 2 + iconSize, margin, client.right - margin, margin + iconSize};
    {
      SelectGuard font(dc, titleFont_.get());
      DrawTextW(dc, L"Vellumio 2.2", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    text = RECT{margin, margin * 2 + iconSize, client.right - margin, client.bottom - margin};
    SelectGuard font(dc, textFont_.get());
    DrawTextW(dc, L"Quotations and notes, collected while you work.", -1, &text,
              DT_WORDBREAK | DT_LEFT);
    EndPaint(Handle(), &ps);
    return 0;
  }

  HINSTANCE instance_;
  bool selfTest_;
  int dpi_ = 96;
  UniqueFont titleFont_, textFont_;
};

bool HasArgument(const wchar_t* wanted) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return false;
  bool found = false;
  for (int i = 1; i < count && !found; ++i) found = lstrcmpiW(args[i], wanted) == 0;
  LocalFree(args);
  return found;
}

bool RegisterMainClass(HINSTANCE instance) {
  const auto load = [instance](int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                         LR_SHARED));
  };
  return TWindow::RegisterWindowClass(instance, kMainClassName, load(SM_CXICON, SM_CYICON),
                                      load(SM_CXSMICON, SM_CYSMICON), nullptr);
}

int RunMessageLoop() {
  MSG msg;
  BOOL status;
  while ((status = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (status == -1) return 1;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace
}  // namespace vellumio::app

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace vellumio::app;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterMainClass(instance)) return 1;
  try {
    TStartWindow window(instance, HasArgument(L"/selftest-close"));
    window.Open();
    return RunMessageLoop();
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Vellumio", MB_ICONERROR | MB_OK);
    return 1;
  }
}
