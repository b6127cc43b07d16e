#include <windows.h>

#include "config/SettingsWindow.h"

namespace vellumio {
namespace {

BOOL CALLBACK TakeFirst(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
  *reinterpret_cast<HMONITOR*>(found) = monitor;
  return FALSE;  // the first one is all we want
}

TScreenRect FirstMonitorRect() {
  HMONITOR first = nullptr;
  EnumDisplayMonitors(nullptr, nullptr, TakeFirst, reinterpret_cast<LPARAM>(&first));
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (first && GetMonitorInfoW(first, &info)) {
    const RECT& r = info.rcMonitor;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

class THwndIndicatorWindow final : public TIndicatorWindow {
public:
  explicit THwndIndicatorWindow(HWND hwnd) : hwnd_(hwnd) {}

  TScreenRect FirstMonitor() const override { return FirstMonitorRect(); }
  TScreenRect Bounds() const override {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  void SetLeft(int32_t v) override { SetPlace(v, Bounds().top, SWP_NOSIZE); }
  void SetTop(int32_t v) override { SetPlace(Bounds().left, v, SWP_NOSIZE); }
  void SetWidth(int32_t v) override { SetSize(v, Bounds().height); }
  void SetHeight(int32_t v) override { SetSize(Bounds().width, v); }
  bool Visible() const override { return IsWindowVisible(hwnd_) != FALSE; }
  void Hide() override { ShowWindow(hwnd_, SW_HIDE); }
  void ShowNoActivate() override { ShowWindow(hwnd_, SW_SHOWNOACTIVATE); }

private:
  void SetPlace(int x, int y, UINT flags) {
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, flags | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetSize(int w, int h) {
    SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  HWND hwnd_;
};

}  // namespace

std::unique_ptr<TIndicatorWindow> MakeIndicatorWindow(HWND__* window) {
  return std::make_unique<THwndIndicatorWindow>(window);
}

}  // namespace vellumio
