#include "app/ApplicationWindow_win.h"

#include "res/resource.h"

namespace vellumio::app {

namespace {
constexpr wchar_t kClassName[] = L"VellumioApplication";
}

TApplicationWindow::TApplicationWindow(HINSTANCE instance) {
  const auto icon = [instance](int cx, int cy) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON,
                                         GetSystemMetrics(cx), GetSystemMetrics(cy), LR_SHARED));
  };
  RegisterWindowClass(instance, kClassName, icon(SM_CXICON, SM_CYICON),
                      icon(SM_CXSMICON, SM_CYSMICON), nullptr);
  CreateWindowHandle(kClassName, L"Vellumio", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                     0, RECT{0, -2000, 0, -2000}, nullptr, instance);
}

void TApplicationWindow::ShowNoActivate() { ShowWindow(Handle(), SW_SHOWNOACTIVATE); }

void TApplicationWindow::Hide() { ShowWindow(Handle(), SW_HIDE); }

void TApplicationWindow::PutAway() {
  SetWindowPos(Handle(), HWND_BOTTOM, 0, -2000, 0, 0, SWP_NOACTIVATE);
}

LRESULT TApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      // A click on the taskbar button means the dialog it stands for.
      if (LOWORD(wParam) != WA_INACTIVE) {
        const HWND popup = GetLastActivePopup(Handle());
        if (popup && popup != Handle() && IsWindowEnabled(popup)) SetForegroundWindow(popup);
      }
      return 0;
    case WM_CLOSE:
      return 0;  // the program ends through its own exit procedure only
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE || (wParam & 0xFFF0) == SC_RESTORE ||
          (wParam & 0xFFF0) == SC_MAXIMIZE)
        return 0;
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::app
