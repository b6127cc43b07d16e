#include "app/ErrorBar_win.h"

#include "app/ErrorBarLayout.h"
#include "ui/Form_win.h"

namespace vellumio::app {

namespace {

constexpr wchar_t kClassName[] = L"TGBError";
constexpr COLORREF kBackground = 0xD4DAFF;  // a light red
constexpr COLORREF kFrame = RGB(255, 0, 0);
constexpr int kFirstId = 1, kSecondId = 2;

}  // namespace

TGBError::TGBError(HINSTANCE instance, HWND box) : box_(box) {
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  CreateWindowHandle(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, RECT{0, 0, 10, 10},
                     box, instance);
  background_ = CreateSolidBrush(kBackground);
  label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0,
                           10, 10, Handle(), nullptr, instance, nullptr);
  first_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                           0, 10, 10, Handle(), reinterpret_cast<HMENU>(kFirstId), instance, nullptr);
  second_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                            0, 10, 10, Handle(), reinterpret_cast<HMENU>(kSecondId), instance,
                            nullptr);
}

int TGBError::Scale(int pixels) const { return MulDiv(pixels, ui::WindowDpi(Handle()), 96); }

void TGBError::SetFont(HFONT font) {
  font_ = font;
  for (HWND child : {label_, first_, second_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  LayOut();
}

void TGBError::SetTexts(const std::wstring& message, const std::wstring& first,
                        const std::wstring& second) {
  message_ = message;
  SetWindowTextW(label_, message.c_str());
  SetWindowTextW(first_, first.c_str());
  SetWindowTextW(second_, second.c_str());
  LayOut();
}

int TGBError::LabelHeight(int width) const {
  const HDC dc = GetDC(label_);
  const HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
  RECT r{0, 0, width, 0};
  DrawTextW(dc, message_.c_str(), -1, &r, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  if (old) SelectObject(dc, old);
  ReleaseDC(label_, dc);
  return r.bottom - r.top;
}

int TGBError::CaptionWidth(HWND button) const {
  wchar_t text[256] = {};
  GetWindowTextW(button, text, 256);
  const HDC dc = GetDC(button);
  const HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
  if (old) SelectObject(dc, old);
  ReleaseDC(button, dc);
  return r.right - r.left;
}

void TGBError::LayOut() {
  RECT box;
  GetClientRect(box_, &box);
  const int dpi = ui::WindowDpi(Handle());
  const auto unscale = [dpi](int v) { return MulDiv(v, 96, dpi); };
  const int boxWidth = unscale(box.right), boxHeight = unscale(box.bottom);
  const int labelHeight = unscale(LabelHeight(Scale(ErrorBarLabelWidth(boxWidth))));
  const TErrorBarLayout l = LayOutErrorBar(boxWidth, boxHeight, labelHeight,
                                           unscale(CaptionWidth(first_)), unscale(CaptionWidth(second_)));
  const auto place = [this](HWND w, const TBarRect& r) {
    MoveWindow(w, Scale(r.x), Scale(r.y), Scale(r.width), Scale(r.height), TRUE);
  };
  place(Handle(), l.bar);
  place(label_, l.label);
  place(first_, l.first);
  place(second_, l.second);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TGBError::Paint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, background_);
  const HBRUSH frame = CreateSolidBrush(kFrame);
  FrameRect(dc, &client, frame);
  DeleteObject(frame);
  EndPaint(Handle(), &ps);
}

LRESULT TGBError::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC: {
      // The label is transparent on the bar's colour.
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(background_);
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        const auto& handler = LOWORD(wParam) == kFirstId ? OnFirstButton : OnSecondButton;
        if (handler) handler();
        return 0;
      }
      break;
    case WM_DESTROY:
      if (background_) DeleteObject(background_);
      background_ = nullptr;
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::app
