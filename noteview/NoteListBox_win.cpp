#include "noteview/NoteListBox_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace vellumio::noteview {

namespace {

constexpr wchar_t kClassName[] = L"TFixListBox";

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

TNoteListBox::TNoteListBox(HWND parent, HINSTANCE instance) {
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  CreateWindowHandle(kClassName, L"",
                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS, 0,
                     RECT{0, 0, 10, 10}, parent, instance);
  UpdateScrollBar();
}

TNoteListBox::~TNoteListBox() = default;

// ---- Items --------------------------------------------------------------------------------

void TNoteListBox::SetCount(int count) {
  count_ = std::max(0, count);
  selected_.assign(static_cast<size_t>(count_), 0);
  heights_.assign(static_cast<size_t>(count_), 0);
  itemIndex_ = -1;
  anchor_ = 0;
  pressPending_ = false;
  // The top item stays where it was (as far as the new items reach), so a
  // change of one note does not throw the reader back to the top.
  topIndex_ = std::clamp(topIndex_, 0, MaxTopIndex());
  if (!updating_) {
    UpdateScrollBar();
    Invalidate();
  }
}

void TNoteListBox::InvalidateHeights() {
  std::fill(heights_.begin(), heights_.end(), 0);
  topIndex_ = std::clamp(topIndex_, 0, MaxTopIndex());
  if (!updating_) {
    UpdateScrollBar();
    Invalidate();
  }
}

void TNoteListBox::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0) {
    topIndex_ = std::clamp(topIndex_, 0, MaxTopIndex());
    UpdateScrollBar();
    Invalidate();
  }
}

int TNoteListBox::Height(int index) const {
  if (index < 0 || index >= count_) return 0;
  int& height = heights_[static_cast<size_t>(index)];
  if (height <= 0) height = std::max(1, MeasureItem ? MeasureItem(index) : 16);
  return height;
}

int TNoteListBox::ClientHeight() const {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  return client.bottom;
}

int TNoteListBox::MaxTopIndex() const {
  // The lowest top item that still fills the view: walk up from the last
  // item, so only the last screenful is measured.
  const int clientHeight = ClientHeight();
  int total = 0;
  int top = count_;
  while (top > 0) {
    total += Height(top - 1);
    if (total > clientHeight) break;
    --top;
  }
  return std::min(top, std::max(0, count_ - 1));
}

void TNoteListBox::UpdateScrollBar() {
  if (!Handle()) return;
  const int maxTop = MaxTopIndex();
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, count_ - 1);
  // The page is what fits at the end, so the highest position is maxTop;
  // when everything fits the page covers the range and the bar goes.
  info.nPage = static_cast<UINT>(std::max(1, count_ - maxTop));
  info.nPos = topIndex_;
  // Setting the bar redraws it, which is slow on some systems: only a
  // change is passed on.
  if (info.nMax == scrollMax_ && info.nPage == scrollPage_ && info.nPos == scrollPos_) return;
  scrollMax_ = info.nMax;
  scrollPage_ = info.nPage;
  scrollPos_ = info.nPos;
  SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

// ---- Selection ------------------------------------------------------------------------------

bool TNoteListBox::IsSelected(int index) const {
  return index >= 0 && index < count_ && selected_[static_cast<size_t>(index)] != 0;
}

void TNoteListBox::SetSelected(int index, bool selected) {
  if (index < 0 || index >= count_) return;
  uint8_t& slot = selected_[static_cast<size_t>(index)];
  if ((slot != 0) == selected) return;
  slot = selected ? 1 : 0;
  InvalidateItem(index);
}

void TNoteListBox::ClearSelection() {
  for (int i = 0; i < count_; ++i) {
    if (selected_[static_cast<size_t>(i)]) SetSelected(i, false);
  }
}

int TNoteListBox::SelectedCount() const {
  return static_cast<int>(std::count(selected_.begin(), selected_.end(), uint8_t{1}));
}

std::vector<int> TNoteListBox::SelectedIndexes() const {
  std::vector<int> result;
  for (int i = 0; i < count_; ++i) {
    if (selected_[static_cast<size_t>(i)]) result.push_back(i);
  }
  return result;
}

void TNoteListBox::SetItemIndex(int index) {
  index = count_ == 0 ? -1 : std::clamp(index, -1, count_ - 1);
  if (index == itemIndex_) return;
  InvalidateItem(itemIndex_);
  itemIndex_ = index;
  if (index >= 0) anchor_ = index;
  InvalidateItem(itemIndex_);
  if (index >= 0 && !updating_) EnsureVisible(index);
}

void TNoteListBox::SelectRange(int from, int to, bool add) {
  if (!add) ClearSelection();
  if (from > to) std::swap(from, to);
  for (int i = std::max(0, from); i <= to && i < count_; ++i) SetSelected(i, true);
}

// ---- Scrolling ----------------------------------------------------------------------------

void TNoteListBox::SetTopIndex(int index) {
  index = std::clamp(index, 0, MaxTopIndex());
  if (index == topIndex_) return;
  // A step of a few items moves the picture on the screen and paints only
  // what comes into view: a wheel step then costs one card, not a screen.
  int shift = 0;
  const int clientHeight = ClientHeight();
  if (!updating_ && Handle() && std::abs(index - topIndex_) <= 8) {
    for (int i = std::min(index, topIndex_); i < std::max(index, topIndex_); ++i) {
      shift += Height(i);
      if (shift >= clientHeight) break;
    }
    if (index > topIndex_) shift = -shift;
  }
  topIndex_ = index;
  UpdateScrollBar();
  if (shift != 0 && std::abs(shift) < clientHeight)
    ScrollWindowEx(Handle(), 0, shift, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  else
    Invalidate();
  if (OnScrolled) OnScrolled();
}

void TNoteListBox::ScrollLines(int delta) { SetTopIndex(topIndex_ + delta); }

void TNoteListBox::EnsureVisible(int index) {
  if (index < 0 || index >= count_) return;
  if (index < topIndex_) {
    SetTopIndex(index);
    return;
  }
  const int clientHeight = ClientHeight();
  int bottom = 0;
  for (int i = topIndex_; i <= index; ++i) bottom += Height(i);
  if (bottom <= clientHeight) return;
  // Scroll down until the item's bottom edge is inside, or it is on top.
  int top = topIndex_;
  while (top < index && bottom > clientHeight) bottom -= Height(top++);
  SetTopIndex(top);
}

int TNoteListBox::ItemAt(POINT p) const {
  if (p.y < 0) return -1;
  const int clientHeight = ClientHeight();
  int y = 0;
  for (int i = topIndex_; i < count_ && y < clientHeight; ++i) {
    const int next = y + Height(i);
    if (p.y < next) return i;
    y = next;
  }
  return -1;
}

RECT TNoteListBox::ItemRect(int index) const {
  RECT client{};
  GetClientRect(Handle(), &client);
  if (index < topIndex_ || index >= count_) return RECT{0, 0, 0, 0};
  int y = 0;
  for (int i = topIndex_; i < index; ++i) {
    y += Height(i);
    if (y >= client.bottom) return RECT{0, 0, 0, 0};
  }
  return RECT{0, y, client.right, y + Height(index)};
}

void TNoteListBox::VScroll(WORD code) {
  int visible = 0;
  for (int i = topIndex_, y = 0; i < count_; ++i) {
    y += Height(i);
    if (y > ClientHeight()) break;
    ++visible;
  }
  visible = std::max(1, visible);
  switch (code) {
    case SB_LINEUP:
      ScrollLines(-1);
      break;
    case SB_LINEDOWN:
      ScrollLines(1);
      break;
    case SB_PAGEUP:
      ScrollLines(-visible);
      break;
    case SB_PAGEDOWN:
      ScrollLines(visible);
      break;
    case SB_TOP:
      SetTopIndex(0);
      break;
    case SB_BOTTOM:
      SetTopIndex(count_);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_VERT, &info);
      SetTopIndex(info.nTrackPos);
      break;
    }
    default:
      break;
  }
}

// ---- Painting -----------------------------------------------------------------------------

void TNoteListBox::SetBackground(COLORREF colour) {
  if (colour == background_) return;
  background_ = colour;
  Invalidate();
}

void TNoteListBox::SetTabStop(bool tabStop) {
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
}

void TNoteListBox::Invalidate() {
  if (Handle() && !updating_) InvalidateRect(Handle(), nullptr, FALSE);
}

void TNoteListBox::InvalidateItem(int index) {
  if (!Handle() || updating_ || index < 0) return;
  const RECT rect = ItemRect(index);
  if (rect.bottom > rect.top) InvalidateRect(Handle(), &rect, FALSE);
}

void TNoteListBox::Paint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  int y = 0;
  for (int i = topIndex_; i < count_ && y < client.bottom; ++i) {
    const int height = Height(i);
    if (y + height > ps.rcPaint.top && y < ps.rcPaint.bottom) PaintItem(dc, i, y, client.right);
    y += height;
  }
  // Only the part below the last item shows the list's own colour.
  if (y < client.bottom) {
    const RECT rest{0, y, client.right, client.bottom};
    ui::TBrush brush(CreateSolidBrush(background_));
    FillRect(dc, &rest, brush.Get());
  }
  EndPaint(Handle(), &ps);
}

void TNoteListBox::PaintItem(HDC dc, int index, int top, int width) {
  const int height = Height(index);
  if (width <= 0 || height <= 0) return;
  if (width > bufferSize_.cx || height > bufferSize_.cy) {
    bufferSize_ =
        SIZE{std::max<LONG>(width, bufferSize_.cx), std::max<LONG>(height, bufferSize_.cy)};
    buffer_.Reset(CreateCompatibleBitmap(dc, bufferSize_.cx, bufferSize_.cy));
  }
  const HDC mem = CreateCompatibleDC(dc);
  {
    ui::TSelectGuard select(mem, buffer_.Get());
    const RECT bounds{0, 0, width, height};
    if (DrawItem) {
      DrawItem(mem, index, bounds, IsSelected(index));
    } else {
      ui::TBrush brush(CreateSolidBrush(background_));
      FillRect(mem, &bounds, brush.Get());
    }
    BitBlt(dc, 0, top, width, height, mem, 0, 0, SRCCOPY);
  }
  DeleteDC(mem);
  if (index == itemIndex_ && GetFocus() == Handle()) {
    RECT focus{0, top, width, top + height};
    if (FocusBounds) focus = FocusBounds(index, focus);
    DrawFocusRect(dc, &focus);
  }
}

// ---- Mouse --------------------------------------------------------------------------------

void TNoteListBox::ClickItem(int index, WPARAM keys) {
  if (index < 0) return;
  const bool ctrl = (keys & MK_CONTROL) != 0;
  const bool shift = (keys & MK_SHIFT) != 0;
  const int anchor = anchor_;
  if (shift) {
    SelectRange(anchor, index, ctrl);
  } else if (ctrl) {
    SetSelected(index, !IsSelected(index));
  } else {
    ClearSelection();
    SetSelected(index, true);
  }
  SetItemIndex(index);
  if (shift) anchor_ = anchor;
  if (OnSelect) OnSelect();
  lastIndex_ = itemIndex_;
}

void TNoteListBox::LeftDown(POINT p, WPARAM keys) {
  if (GetFocus() != Handle()) SetFocus(Handle());
  const int index = ItemAt(p);
  const bool shift = (keys & MK_SHIFT) != 0;
  const bool ctrl = (keys & MK_CONTROL) != 0;
  if ((!shift || ctrl) && IsSelected(index)) {
    // Perhaps the start of a drag of the selection: decided when the
    // pointer moves past the drag threshold or the button comes up.
    pressPending_ = true;
    pressPoint_ = p;
    pressKeys_ = keys;
    pressIndex_ = index;
    SetCapture(Handle());
    return;
  }
  ClickItem(index, keys);
  if (OnLeftDown) OnLeftDown(p, keys);
}

void TNoteListBox::LeftUp(POINT p) {
  if (dragging_) {
    EndDrag();
  } else if (pressPending_) {
    pressPending_ = false;
    if (GetCapture() == Handle()) ReleaseCapture();
    ClickItem(pressIndex_, pressKeys_);
    if (OnLeftDown) OnLeftDown(pressPoint_, pressKeys_);
  }
  if (OnLeftUp) OnLeftUp(p);
}

void TNoteListBox::MouseMove(POINT p, WPARAM keys) {
  if (pressPending_ && (keys & MK_LBUTTON)) {
    const int dx = GetSystemMetrics(SM_CXDRAG);
    const int dy = GetSystemMetrics(SM_CYDRAG);
    if (std::abs(p.x - pressPoint_.x) > dx || std::abs(p.y - pressPoint_.y) > dy) {
      pressPending_ = false;
      dragging_ = true;
      if (OnDragStart) OnDragStart();
    }
    return;
  }
  if (dragging_) return;
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  if (OnMouseMove) OnMouseMove(p);
}

void TNoteListBox::EndDrag() {
  if (!dragging_) return;
  dragging_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (OnDragEnd) OnDragEnd();
}

// ---- Keyboard -----------------------------------------------------------------------------

void TNoteListBox::MoveCaret(int index, bool extend) {
  if (count_ == 0) return;
  index = std::clamp(index, 0, count_ - 1);
  const int anchor = itemIndex_ < 0 ? index : anchor_;
  if (extend) {
    SelectRange(anchor, index, false);
  } else if (!KeyHeld(VK_CONTROL)) {
    ClearSelection();
    SetSelected(index, true);
  }
  SetItemIndex(index);
  if (extend) anchor_ = anchor;
  EnsureVisible(index);
  if (OnSelect) OnSelect();
  lastIndex_ = itemIndex_;
}

bool TNoteListBox::KeyDown(WPARAM key) {
  const bool extend = KeyHeld(VK_SHIFT);
  int page = 0;
  for (int i = std::max(0, itemIndex_), y = 0; i < count_; ++i) {
    y += Height(i);
    if (y > ClientHeight()) break;
    ++page;
  }
  page = std::max(1, page - 1);
  switch (key) {
    case VK_UP:
      MoveCaret(itemIndex_ - 1, extend);
      return true;
    case VK_DOWN:
      MoveCaret(itemIndex_ + 1, extend);
      return true;
    case VK_PRIOR:
      MoveCaret(itemIndex_ - page, extend);
      return true;
    case VK_NEXT:
      MoveCaret(itemIndex_ + page, extend);
      return true;
    case VK_HOME:
      MoveCaret(0, extend);
      return true;
    case VK_END:
      MoveCaret(count_ - 1, extend);
      return true;
    case VK_ESCAPE:
      if (dragging_) {
        EndDrag();
        return true;
      }
      return false;
    default:
      return false;
  }
}

// ---- Messages -----------------------------------------------------------------------------

LRESULT TNoteListBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE: {
      // A new width changes how many lines each card needs. The scroll bar
      // coming or going resizes the list again from inside; that inner
      // round is left out, or a list just at the edge would swing between
      // the two widths.
      if (resizing_) return 0;
      resizing_ = true;
      InvalidateHeights();
      resizing_ = false;
      return 0;
    }
    case WM_LBUTTONDOWN:
      LeftDown(p, wParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click is a plain click: it never
      // starts a drag, so the list keeps no hold on the mouse while the
      // double click opens the editor.
      pressPending_ = false;
      if (GetCapture() == Handle()) ReleaseCapture();
      if (GetFocus() != Handle()) SetFocus(Handle());
      ClickItem(ItemAt(p), wParam);
      if (OnLeftDown) OnLeftDown(p, wParam);
      if (OnDoubleClick) OnDoubleClick(p);
      return 0;
    case WM_LBUTTONUP:
      LeftUp(p);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(p, wParam);
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (OnMouseLeave) OnMouseLeave();
      return 0;
    case WM_CAPTURECHANGED:
      pressPending_ = false;
      if (dragging_ && reinterpret_cast<HWND>(lParam) != Handle()) EndDrag();
      return 0;
    case WM_MOUSEWHEEL:
      // One item per wheel message, whatever the system's line setting.
      ScrollLines(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1);
      return 0;
    case WM_VSCROLL:
      VScroll(LOWORD(wParam));
      return 0;
    case WM_KEYDOWN:
      if (OnKeyDown && OnKeyDown(wParam)) return 0;
      if (KeyDown(wParam)) return 0;
      break;
    case WM_CHAR:
      if (OnChar && OnChar(wParam)) return 0;
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_CONTEXTMENU:
      if (OnContextMenu) {
        OnContextMenu(p, lParam == -1);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateItem(itemIndex_);
      return 0;
    default:
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::noteview
