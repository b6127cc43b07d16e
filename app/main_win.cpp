// Process entry of Vellumio.exe: the second-copy guard, the folders, the
// main window and the message loop.
//
// "/close" ends at once (the installer starts the program that way to make
// sure no copy of the new version keeps running). A second start finds the
// first copy by its mutex and window, asks it to show itself and ends.
// "/uninstall_dlg" shows only the uninstall dialog, before the second-copy
// guard: the uninstaller must get its dialog even while a copy still runs,
// and no settings, database or folders may come into being.
// "/selftest-close" is for the test run: the program starts as usual and
// ends itself through its exit procedure a moment later.
// <windows.h> first: the other system headers depend on it.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "app/ApplicationWindow_win.h"
#include "app/Main_win.h"
#include "base/Utf8.h"
#include "config/ClockStyle.h"
#include "config/FolderSetup.h"
#include "uninstall/UnInst_win.h"

namespace vellumio::app {
namespace {

constexpr wchar_t kMutexName[] = L"ScribbaloonStarted";
constexpr UINT kSecondCopyTimeoutMs = 10000;

std::wstring FirstArgument() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return {};
  std::wstring first = count > 1 ? args[1] : L"";
  LocalFree(args);
  return first;
}

// True when this copy may go on: no other copy runs, or one holds the
// mutex but has no main window (it crashed or is just ending).
bool FirstCopyOrAlone() {
  CreateMutexW(nullptr, FALSE, kMutexName);  // held until the process ends
  if (GetLastError() != ERROR_ALREADY_EXISTS) return true;
  const HWND other = FindWindowW(kMainClassName, kMainCaption);
  if (!other) return true;
  DWORD_PTR reply = 0;
  // A copy that hangs must not hang this one too.
  const LRESULT sent = SendMessageTimeoutW(other, kOpenUserMessage, kOpenUserMessage,
                                           kOpenUserMessage, SMTO_ABORTIFHUNG,
                                           kSecondCopyTimeoutMs, &reply);
  if (!sent || reply != kOpenUserMessage)
    MessageBoxW(nullptr, L"Sorry, another copy of Vellumio is already started.", L"Vellumio",
                MB_ICONINFORMATION | MB_OK);
  return false;
}

// Sends the program the stop message, as the uninstaller does.
VOID CALLBACK SelfTestStop(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (const HWND window = FindWindowW(kMainClassName, kMainCaption))
    PostMessageW(window, kStopUserMessage, kStopUserMessage, kStopUserMessage);
}

int RunMessageLoop(TfMain& main) {
  MSG msg;
  BOOL status;
  while ((status = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (status == -1) return 1;
    if (main.PreviewKeyDown(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int Run(HINSTANCE instance, bool selfTest) {
  SetUpSystemFolders();
  Use24HourClock();  // fixed once, from the locale at start
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  if (!TfMain::RegisterClass(instance)) return 1;
  TApplicationWindow application(instance);
  int result = 0;
  {
    TfMain main(instance, application);
    if (selfTest) {
      // A thread timer: it fires in whatever message loop runs then, also
      // in the language dialog that a first start shows.
      SetTimer(nullptr, 0, 2500, SelfTestStop);
    }
    main.Create();
    application.PutAway();
    result = RunMessageLoop(main);
  }
  return result;
}

int RunUninstall() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    vellumio::RunUninstallDialog(vellumio::SystemFolders());
  } catch (const std::exception&) {
    return 1;  // the uninstaller goes on with the default removal
  }
  return 0;
}

}  // namespace
}  // namespace vellumio::app

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace vellumio::app;
  const std::wstring first = FirstArgument();
  if (first == L"/close") return 0;
  if (first == L"/uninstall_dlg") return RunUninstall();
  if (!FirstCopyOrAlone()) return 0;
  try {
    return Run(instance, first == L"/selftest-close");
  } catch (const std::exception& e) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(vellumio::FromUtf8(e.what()).c_str()),
                L"Vellumio", MB_ICONERROR | MB_OK);
    return 1;
  }
}
