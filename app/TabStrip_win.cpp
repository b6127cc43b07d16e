#include "app/TabStrip_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/Win32Text_win.h"
#include "ui/Form_win.h"

namespace vellumio::app {

namespace {

constexpr wchar_t kClassName[] = L"TVellumioTabSet";
constexpr int kTextPadding = 6;  // left and right of a caption
constexpr int kTabGap = 1;

bool RegisterTabClass(HINSTANCE instance) {
  static const bool registered =
      ui::TWindow::RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  return registered;
}

}  // namespace

TTabStrip::TTabStrip(HWND parent, HINSTANCE instance) {
  RegisterTabClass(instance);
  CreateWindowHandle(kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, RECT{0, 0, 100, 20}, parent,
                     instance);
  SetLook(13, selectedColour_, 96);
}

void TTabStrip::SetTabs(std::vector<TabInfo> tabs) {
  tabs_ = std::move(tabs);
  if (selected_ >= static_cast<int>(tabs_.size())) selected_ = -1;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TTabStrip::SetSelected(int index) {
  if (index < 0 || index >= static_cast<int>(tabs_.size())) index = -1;
  if (index == selected_) return;
  selected_ = index;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TTabStrip::SetLook(int fontHeight, COLORREF selectedColour, int dpi) {
  selectedColour_ = selectedColour;
  dpi_ = dpi;
  const std::wstring face = platform::win::WideString(ui::FormFontFace());
  font_.Reset(CreateFontW(-MulDiv(fontHeight, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          CLEARTYPE_QUALITY, DEFAULT_PITCH, face.c_str()));
  Measure();
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TTabStrip::Measure() {
  const HDC dc = GetDC(Handle());
  {
    ui::TSelectGuard select(dc, font_.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc, L"T", 1, &size);
    height_ = size.cy + MulDiv(8, dpi_, 96);
  }
  ReleaseDC(Handle(), dc);
}

std::vector<RECT> TTabStrip::TabRects() const {
  RECT client;
  GetClientRect(Handle(), &client);
  std::vector<int> widths;
  const HDC dc = GetDC(Handle());
  {
    ui::TSelectGuard select(dc, font_.Get());
    for (const TabInfo& tab : tabs_) {
      const std::wstring text = platform::win::WideString(tab.caption);
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widths.push_back(size.cx + 2 * MulDiv(kTextPadding, dpi_, 96));
    }
  }
  ReleaseDC(Handle(), dc);
  // Too many tabs for the width: the widest are cut to one common width
  // (captions end in an ellipsis), as little as makes them fit, so short
  // names stay whole and every list stays reachable.
  const int available = client.right - MulDiv(2, dpi_, 96) - kTabGap * static_cast<int>(widths.size());
  int total = 0;
  for (int w : widths) total += w;
  if (!widths.empty() && total > available) {
    std::vector<int> sorted = widths;
    std::sort(sorted.begin(), sorted.end());
    int cap = MulDiv(24, dpi_, 96), below = 0;
    for (size_t i = 0; i < sorted.size(); ++i) {
      const int rest = static_cast<int>(sorted.size() - i);
      const int even = (available - below) / rest;
      if (sorted[i] >= even) {
        cap = std::max(cap, even);
        break;
      }
      below += sorted[i];
    }
    for (int& w : widths) w = std::min(w, cap);
  }
  std::vector<RECT> rects;
  int x = MulDiv(2, dpi_, 96);
  for (int w : widths) {
    rects.push_back(RECT{x, 0, x + w, client.bottom - 1});
    x += w + kTabGap;
  }
  return rects;
}

int TTabStrip::TabAt(POINT client) const {
  const std::vector<RECT> rects = TabRects();
  for (size_t i = 0; i < rects.size(); ++i)
    if (PtInRect(&rects[i], client)) return static_cast<int>(i);
  return -1;
}

int TTabStrip::TabAtScreen(POINT screen) const {
  if (!IsWindowVisible(Handle())) return -1;
  RECT window;
  GetWindowRect(Handle(), &window);
  if (!PtInRect(&window, screen)) return -1;
  ScreenToClient(Handle(), &screen);
  return TabAt(screen);
}

void TTabStrip::Paint(HDC dc, const RECT& client) const {
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  ui::TSelectGuard select(dc, font_.Get());
  SetBkMode(dc, TRANSPARENT);
  const std::vector<RECT> rects = TabRects();
  const COLORREF frame = GetSysColor(COLOR_BTNSHADOW);
  ui::TBrush frameBrush(CreateSolidBrush(frame));
  for (size_t i = 0; i < rects.size(); ++i) {
    const bool selected = static_cast<int>(i) == selected_;
    RECT r = rects[i];
    // Tabs hang from the top edge; the selected one joins the view above.
    if (!selected) r.bottom -= MulDiv(2, dpi_, 96);
    const COLORREF fill = selected ? selectedColour_ : static_cast<COLORREF>(tabs_[i].colour);
    ui::TBrush brush(CreateSolidBrush(fill));
    FillRect(dc, &r, brush.Get());
    FrameRect(dc, &r, frameBrush.Get());
    if (selected) {
      // No line between the selected tab and the notes above it.
      RECT join{r.left + 1, r.top, r.right - 1, r.top + 1};
      FillRect(dc, &join, brush.Get());
    }
    // Dark text on light tabs, light text on the few dark colours.
    const int luma = GetRValue(fill) * 3 + GetGValue(fill) * 6 + GetBValue(fill);
    SetTextColor(dc, luma < 1000 ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNTEXT));
    RECT text = r;
    InflateRect(&text, -MulDiv(kTextPadding / 2, dpi_, 96), 0);
    const std::wstring caption = platform::win::WideString(tabs_[i].caption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  // The line that closes the view's bottom, broken by the selected tab.
  RECT top{client.left, 0, client.right, 1};
  FillRect(dc, &top, frameBrush.Get());
  if (selected_ >= 0 && selected_ < static_cast<int>(rects.size())) {
    ui::TBrush brush(CreateSolidBrush(selectedColour_));
    RECT gap{rects[selected_].left + 1, 0, rects[selected_].right - 1, 1};
    FillRect(dc, &gap, brush.Get());
  }
}

void TTabStrip::LeftDown(POINT p) {
  const int index = TabAt(p);
  if (index < 0) return;
  if (index != selected_) {
    if (OnChanging && !OnChanging(index)) return;
    SetSelected(index);
  }
  // Perhaps a drag of the tab: decided when the pointer moves far enough.
  pressed_ = true;
  pressPoint_ = p;
  SetCapture(Handle());
}

void TTabStrip::MouseMove(POINT p) {
  if (!pressed_ || dragging_) return;
  if (std::abs(p.x - pressPoint_.x) > GetSystemMetrics(SM_CXDRAG) ||
      std::abs(p.y - pressPoint_.y) > GetSystemMetrics(SM_CYDRAG)) {
    dragging_ = true;
    if (OnDragStart) OnDragStart();
  }
}

void TTabStrip::LeftUp(POINT) { EndDrag(true); }

void TTabStrip::EndDrag(bool drop) {
  const bool wasDragging = dragging_;
  pressed_ = false;
  dragging_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (!wasDragging || !OnDragEnd) return;
  POINT screen{-1, -1};
  if (drop) GetCursorPos(&screen);
  OnDragEnd(screen);
}

LRESULT TTabStrip::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      ui::PaintDoubleBuffered(Handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second press may start a drag too
      LeftDown(p);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(p);
      return 0;
    case WM_LBUTTONUP:
      LeftUp(p);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle() && (pressed_ || dragging_)) EndDrag(false);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (OnRightClick) {
        POINT screen = p;
        ClientToScreen(Handle(), &screen);
        OnRightClick(TabAt(p), screen);
      }
      return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::app
