#include "app/DockLine_win.h"

#include <windowsx.h>

#include "app/DockCalc.h"

namespace vellumio::app {

namespace {

const wchar_t kClassName[] = L"TfCForm";
constexpr COLORREF kDecidingColour = RGB(0, 0, 255);

// Showing the line can come from deep inside the main window's own
// handlers; letting the queued paint and position messages through first
// makes the line appear at once instead of after the handler returns.
void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

TfCForm::TfCForm(HINSTANCE instance) {
  // No background brush: WM_PAINT fills the whole line in its colour.
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  CreateWindowHandle(kClassName, L"", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 5, 5}, nullptr,
                     instance);
}

void TfCForm::SetBounds(int x, int y, int width, int height) {
  SetWindowPos(Handle(), nullptr, x, y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TfCForm::ShowNoActivate() {
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  ProcessPendingMessages();
  RaiseTopmost();
}

void TfCForm::Hide() { ShowWindow(Handle(), SW_HIDE); }

void TfCForm::RaiseTopmost() {
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfCForm::SetDeciding(bool deciding) {
  if (deciding == deciding_) return;
  deciding_ = deciding;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

void TfCForm::SetLineColour(COLORREF colour) {
  lineColour_ = colour;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TfCForm::SetTransparency(bool transparent, int percent) {
  const LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  if (transparent) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(Handle(), 0, DockLineAlpha(percent), LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    // Dropping the style is what makes the window opaque again; the
    // attributes are forgotten with it.
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME);
  }
}

void TfCForm::Paint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  SetDCBrushColor(dc, deciding_ ? kDecidingColour : lineColour_);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  EndPaint(Handle(), &ps);
}

void TfCForm::MouseMoved(LPARAM lParam) {
  const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  // The system repeats WM_MOUSEMOVE when a window appears under a still
  // pointer; only a real move counts.
  if (seenPointer_ && client.x == lastPointer_.x && client.y == lastPointer_.y) return;
  if (!seenPointer_) {
    // Forget the pointer once it has left, so that coming back to the same
    // pixel counts as a move.
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
  }
  seenPointer_ = true;
  lastPointer_ = client;
  POINT screen = client;
  ClientToScreen(Handle(), &screen);
  if (OnMouseMove) OnMouseMove(screen);
}

LRESULT TfCForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      MouseMoved(lParam);
      return 0;
    case WM_MOUSELEAVE:
      seenPointer_ = false;
      return 0;
    case WM_LBUTTONUP:
      if (OnLeftButtonUp) OnLeftButtonUp();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE && OnDeactivate) OnDeactivate(wParam, lParam);
      return DefaultHandler(message, wParam, lParam);
    default:
      return DefaultHandler(message, wParam, lParam);
  }
}

}  // namespace vellumio::app
