#include "ui/Window_win.h"

#include <exception>
#include <stdexcept>

namespace vellumio::ui {

TWindow::~TWindow() {
  if (hwnd_) {
    // Detach first: the messages sent during destruction must not reach the
    // derived part of an object that is already gone.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
}

bool TWindow::RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon,
                                  HICON smallIcon, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = &TWindow::WindowProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void TWindow::CreateWindowHandle(const wchar_t* className, const std::wstring& caption, DWORD style,
                                 DWORD exStyle, const RECT& bounds, HWND parent,
                                 HINSTANCE instance) {
  const HWND hwnd = CreateWindowExW(exStyle, className, caption.c_str(), style, bounds.left,
                                    bounds.top, bounds.right - bounds.left,
                                    bounds.bottom - bounds.top, parent, nullptr, instance, this);
  if (!hwnd) {
    throw std::runtime_error("Cannot create a window (error " + std::to_string(GetLastError()) +
                             ")");
  }
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandler(message, wParam, lParam);
}

void TWindow::HandleException(const char* message) {
  OutputDebugStringA(message);
  OutputDebugStringA("\n");
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after the object let
  // go of its window belong to the default procedure.
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
  const LRESULT result = self->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

LRESULT TWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return HandleMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    HandleException(e.what());
  } catch (...) {
    HandleException("Unknown error");
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::ui
