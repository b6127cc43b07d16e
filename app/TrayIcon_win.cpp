#include "app/TrayIcon_win.h"

#include <algorithm>

namespace vellumio::app {

namespace {

const wchar_t kClassName[] = L"VellumioTrayIcon";
constexpr UINT kIconId = 1;

// The version-2 layout (balloons, no GUID): every system from Windows 2000
// on accepts it, and the program needs nothing newer.
constexpr DWORD kDataSize = NOTIFYICONDATAW_V2_SIZE;

template <size_t N>
void CopyCut(wchar_t (&target)[N], const std::wstring& text, size_t limit) {
  const size_t n = std::min({text.size(), limit, N - 1});
  std::copy_n(text.c_str(), n, target);
  target[n] = L'\0';
}

}  // namespace

TTrayIcon::TTrayIcon(HINSTANCE instance) {
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  // Hidden, off the taskbar and never shown; a message-only window would
  // miss the broadcast.
  CreateWindowHandle(kClassName, L"", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0}, nullptr,
                     instance);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

TTrayIcon::~TTrayIcon() { Remove(); }

NOTIFYICONDATAW TTrayIcon::BaseData(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = kDataSize;
  data.hWnd = Handle();
  data.uID = kIconId;
  data.uFlags = flags;
  return data;
}

void TTrayIcon::SetIcon(HICON icon) {
  icon_ = icon;
  Modify(NIF_ICON);
}

void TTrayIcon::SetTooltip(const std::wstring& tip) {
  tip_ = tip;
  Modify(NIF_TIP);
}

void TTrayIcon::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTrayIcon::SetVisible(bool visible) {
  visible_ = visible;
  Update();
}

void TTrayIcon::Update() {
  const bool wanted = enabled_ && visible_;
  if (wanted && !shown_) shown_ = Add();
  if (!wanted && shown_) Remove();
}

bool TTrayIcon::Add() {
  NOTIFYICONDATAW data = BaseData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_;
  CopyCut(data.szTip, tip_, 127);
  return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void TTrayIcon::Remove() {
  if (!shown_) return;
  NOTIFYICONDATAW data = BaseData(0);
  Shell_NotifyIconW(NIM_DELETE, &data);
  shown_ = false;
}

void TTrayIcon::Modify(UINT flags) {
  if (!shown_) return;
  NOTIFYICONDATAW data = BaseData(flags);
  data.hIcon = icon_;
  CopyCut(data.szTip, tip_, 127);
  Shell_NotifyIconW(NIM_MODIFY, &data);
}

bool TTrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text,
                            unsigned timeoutSeconds) {
  if (!shown_) return false;
  NOTIFYICONDATAW data = BaseData(NIF_INFO);
  CopyCut(data.szInfoTitle, title, 63);
  CopyCut(data.szInfo, text, 255);
  data.uTimeout = timeoutSeconds * 1000;
  data.dwInfoFlags = NIIF_INFO;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TTrayIcon::Notified(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDOWN:
      if (OnLeftPress) OnLeftPress();
      break;
    case WM_LBUTTONDBLCLK:
      if (OnLeftDoubleClick) OnLeftDoubleClick();
      break;
    case WM_RBUTTONUP:
      if (OnRightRelease) OnRightRelease();
      break;
    default:
      break;
  }
}

LRESULT TTrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallbackMessage) {
    if (wParam == kIconId) Notified(lParam);
    return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    // A new shell knows nothing of the icon. The broadcast also reaches us
    // when the icon survived (a shell that only reset its taskbar), and
    // adding an icon that exists fails: delete it first.
    Remove();
    Update();
    return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::app
