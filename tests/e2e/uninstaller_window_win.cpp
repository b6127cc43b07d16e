// Stands in for the setup package's uninstaller while the uninstall dialog
// runs: a visible window captioned "Vellumio Uninstall" that waits. It
// ends by itself with exit code 3 after two minutes; ended from outside
// (the dialog's Cancel terminates it with code 0) it never gets there.
//
// Built by tests/e2e/run_app_tests.sh with the MinGW compiler; not part of
// the product.
#include <windows.h>

int wmain() {
  const HWND window = CreateWindowExW(0, L"STATIC", L"Vellumio Uninstall", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      40, 40, 300, 120, nullptr, nullptr, nullptr, nullptr);
  if (!window) return 1;
  const DWORD end = GetTickCount() + 120000;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(50);
  }
  return 3;
}
