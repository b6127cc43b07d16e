// Sends the running Vellumio the stop message that the uninstaller sends
// (1178 with wParam = lParam = 1178 at its main window), so that a check
// can end the program the way it saves everything, note being edited
// included, and then read the database back. Exits 0 when the program
// answered 1178, 1 when it did not, 2 when no main window was found.
//
// Built by tests/e2e/run_app_tests.sh with the MinGW compiler; not part of
// the product.
#include <windows.h>

int wmain() {
  const HWND window = FindWindowW(L"TfMain", L"ScribbaloonStarted");
  if (!window) return 2;
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutW(window, 1178, 1178, 1178, SMTO_ABORTIFHUNG, 20000, &reply)) return 1;
  return reply == 1178 ? 0 : 1;
}
