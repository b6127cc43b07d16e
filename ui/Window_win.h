// The base class of every window of the program.
//
// A static window procedure picks up the object on WM_NCCREATE (from the
// creation parameter), keeps it in GWLP_USERDATA and hands every later
// message to the virtual HandleMessage. The object owns its window: the
// destructor destroys a window that still exists, and WM_NCDESTROY detaches
// the object, so neither can outlive the other unnoticed.
#pragma once

#include <windows.h>

#include <string>

namespace vellumio::ui {

class TWindow {
public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const { return hwnd_; }

  // Registers a window class whose procedure is the base class's; returns
  // false only when the system refuses (a class already registered is fine).
  static bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon,
                                  HICON smallIcon, HBRUSH background);

protected:
  // Creates the window; throws std::runtime_error when the system refuses.
  void CreateWindowHandle(const wchar_t* className, const std::wstring& caption, DWORD style,
                          DWORD exStyle, const RECT& bounds, HWND parent, HINSTANCE instance);

  // One message; the default passes it to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // An exception escaped HandleMessage. It must not reach the system (which
  // would unwind through foreign frames); the default writes it to the
  // debugger output.
  virtual void HandleException(const char* message);

  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

}  // namespace vellumio::ui
