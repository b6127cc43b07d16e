// The strip of list tabs along the bottom of the main window: one tab per
// list in the list colour, the selected one in the scheme's colour, and
// the new-list tab at the end when it is wanted. It reports a change of
// tab (which the owner may refuse), right-clicks, and drags of the
// selected tab; what they mean is the main window's business.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "store/NoteListCollection.h"
#include "ui/GdiHandles_win.h"
#include "ui/Window_win.h"

namespace vellumio::app {

class TTabStrip final : public ui::TWindow {
public:
  TTabStrip(HWND parent, HINSTANCE instance);

  // Replaces every tab at once (one repaint, however many tabs).
  void SetTabs(std::vector<TabInfo> tabs);
  const std::vector<TabInfo>& Tabs() const { return tabs_; }
  int Selected() const { return selected_; }
  // Selects a tab without asking the owner.
  void SetSelected(int index);
  // The font's height in pixels (before DPI scaling) and the selected
  // tab's colour.
  void SetLook(int fontHeight, COLORREF selectedColour, int dpi);
  // The strip's height: the text height of "T" plus 8.
  int Height() const { return height_; }
  // The tab under a point of the client area; -1 for none.
  int TabAt(POINT client) const;
  // The tab under a screen point, or -1 (also when it is not over the strip).
  int TabAtScreen(POINT screen) const;
  bool Dragging() const { return dragging_; }
  // Shown by the main window (also while that window itself is hidden,
  // when IsWindowVisible says no).
  bool Shown() const { return (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0; }

  // A click on another tab: true lets the strip select it.
  std::function<bool(int index)> OnChanging;
  // The right button went down over `index` (-1: no tab) at `screen`.
  std::function<void(int index, POINT screen)> OnRightClick;
  // The selected tab is dragged past the system's threshold, and dropped.
  std::function<void()> OnDragStart;
  std::function<void(POINT screen)> OnDragEnd;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void Measure();
  std::vector<RECT> TabRects() const;
  void Paint(HDC dc, const RECT& client) const;
  void LeftDown(POINT p);
  void LeftUp(POINT p);
  void MouseMove(POINT p);
  void EndDrag(bool drop);

  std::vector<TabInfo> tabs_;
  int selected_ = -1;
  COLORREF selectedColour_ = RGB(242, 242, 255);
  ui::TFont font_;
  int height_ = 20;
  int dpi_ = 96;
  bool pressed_ = false;
  bool dragging_ = false;
  POINT pressPoint_{};
};

}  // namespace vellumio::app
