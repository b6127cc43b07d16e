// The card list of a note view: a list of variable-height, owner-drawn
// items with multiple selection, written for the view instead of taken from
// the system's list box.
//
// The system's list box keeps an owner-drawn item at 255 pixels at most; a
// card of eight lines with a date header passes that from 150 % on, and
// would be cut off. This control has no such limit. Like the system's list
// box it scrolls by whole items (the scroll position is the top item), so
// it never needs the height of every item: it measures only the items it
// shows, and a list of 100,000 notes costs no more to show than one of ten.
//
// Selection follows the system's extended selection: a click selects one
// item, Ctrl+click toggles one, Shift+click and Shift+arrows extend from the
// anchor. A press on an item that is already selected does not change the
// selection at once: it may be the start of a drag of the whole selection;
// released without moving, it acts as a plain click.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/GdiHandles_win.h"
#include "ui/Window_win.h"

namespace vellumio::noteview {

class TNoteListBox final : public ui::TWindow {
public:
  TNoteListBox(HWND parent, HINSTANCE instance);
  ~TNoteListBox() override;

  // The owner's part. MeasureItem gives an item's height for the current
  // width; DrawItem paints one item into a bitmap of its size (`bounds`
  // starts at 0, 0).
  std::function<int(int index)> MeasureItem;
  std::function<void(HDC dc, int index, const RECT& bounds, bool selected)> DrawItem;
  // A click changed (or confirmed) the item index.
  std::function<void()> OnSelect;
  // Keys and mouse, offered to the owner first; true when it used them.
  std::function<bool(WPARAM key)> OnKeyDown;
  std::function<bool(WPARAM ch)> OnChar;
  std::function<void(POINT p, WPARAM keys)> OnLeftDown;
  std::function<void(POINT p)> OnLeftUp;
  std::function<void(POINT p)> OnDoubleClick;
  std::function<void(POINT p)> OnMouseMove;
  std::function<void()> OnMouseLeave;
  std::function<void(POINT screen, bool fromKeyboard)> OnContextMenu;
  std::function<void()> OnDragStart;
  std::function<void()> OnDragEnd;
  std::function<void()> OnScrolled;
  // The part of an item that the focus frame goes around (the whole item
  // unless the owner says otherwise).
  std::function<RECT(int index, RECT item)> FocusBounds;

  // The items: their number, and Reset after the owner's data changed.
  int Count() const { return count_; }
  void SetCount(int count);
  // Forgets the measured heights (new width, font or flags).
  void InvalidateHeights();

  int ItemIndex() const { return itemIndex_; }
  // Moves the caret to `index` without changing the selection.
  void SetItemIndex(int index);
  int LastIndex() const { return lastIndex_; }
  void SetLastIndex(int index) { lastIndex_ = index; }

  bool IsSelected(int index) const;
  void SetSelected(int index, bool selected);
  void ClearSelection();
  int SelectedCount() const;
  // The selected item indexes in ascending order.
  std::vector<int> SelectedIndexes() const;

  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int index);
  // Scrolls so that the item is shown whole (as far as it fits).
  void EnsureVisible(int index);
  // The item at a client point, -1 below the last one.
  int ItemAt(POINT p) const;
  // The item's rectangle in client coordinates; empty when not shown.
  RECT ItemRect(int index) const;

  void SetBackground(COLORREF colour);
  COLORREF Background() const { return background_; }
  void SetTabStop(bool tabStop);
  // Scrolls by one item: -1 up, +1 down (a wheel step).
  void ScrollLines(int delta);

  bool Dragging() const { return dragging_; }

  // Painting is held while the owner changes many items at once.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  int Height(int index) const;
  int ClientHeight() const;
  int MaxTopIndex() const;
  void UpdateScrollBar();
  void Paint();
  void PaintItem(HDC dc, int index, int top, int width);
  void InvalidateItem(int index);
  void Invalidate();

  void LeftDown(POINT p, WPARAM keys);
  void LeftUp(POINT p);
  void MouseMove(POINT p, WPARAM keys);
  void ClickItem(int index, WPARAM keys);
  bool KeyDown(WPARAM key);
  void MoveCaret(int index, bool extend);
  void SelectRange(int from, int to, bool add);
  void VScroll(WORD code);
  void EndDrag();

  int count_ = 0;
  int topIndex_ = 0;
  int itemIndex_ = -1;
  int anchor_ = 0;
  int lastIndex_ = -1;
  std::vector<uint8_t> selected_;
  mutable std::vector<int> heights_;  // 0: not measured yet
  COLORREF background_ = RGB(255, 255, 255);
  int updating_ = 0;

  // A press on a selected item: a drag starts past the system's threshold.
  bool pressPending_ = false;
  bool dragging_ = false;
  POINT pressPoint_{};
  WPARAM pressKeys_ = 0;
  int pressIndex_ = -1;
  bool tracking_ = false;
  bool resizing_ = false;
  // What the scroll bar was last given.
  int scrollMax_ = -1, scrollPos_ = -1;
  UINT scrollPage_ = 0;

  // One off-screen bitmap, reused for every item painted.
  ui::TBitmap buffer_;
  SIZE bufferSize_{0, 0};
};

}  // namespace vellumio::noteview
