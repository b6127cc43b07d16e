// Keeps an icon in the notification area until it is told to stop (a file
// named by the first argument disappears), so that Wine's virtual desktop
// shows its taskbar from before Vellumio starts. Wine hands a process the
// work area it finds at its start: without a taskbar already there, the
// program would see a screen without one and could not tell a free bottom
// edge from one the taskbar occupies.
//
// Built by tests/e2e/run_app_tests.sh with the MinGW compiler; not part of
// the product.
#include <windows.h>

#include <shellapi.h>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                      nullptr, nullptr);
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, L"taskbar holder", ARRAYSIZE(icon.szTip));
  if (!Shell_NotifyIconW(NIM_ADD, &icon)) return 1;
  while (GetFileAttributesW(argv[1]) != INVALID_FILE_ATTRIBUTES) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(100);
  }
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
