// Snapping and docking geometry of the main window, and the small decisions
// around the dock line, as pure functions of plain numbers.
//
// The main window feeds in what it reads from the system (its bounds, the
// pointer, the monitors) and applies the result (moves itself, places and
// shows the dock line); keeping the arithmetic here lets the native tests
// pin down every off-by-one of it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellumio::app {

struct TDockPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const TDockPoint&, const TDockPoint&) = default;
};

// Right and bottom are exclusive, as in a Win32 RECT.
struct TDockRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  friend bool operator==(const TDockRect&, const TDockRect&) = default;
};

// Bounds as the window functions take them.
struct TDockBounds {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const TDockBounds&, const TDockBounds&) = default;
};

struct TDockMonitor {
  TDockRect bounds;    // the whole monitor
  TDockRect workArea;  // without the taskbar and application bars
};

// The edge the window sits at; the values are those of SetBPanAlign.
enum class TDockSide : uint8_t { None = 0, Top = 1, Bottom = 2, Left = 3, Right = 4 };

struct TDockInput {
  TDockRect window;     // the window's current bounds
  TDockPoint proposed;  // the top-left point the window is about to take
  bool force = false;   // recompute for the current place and move there
  TDockPoint pointer;
  std::vector<TDockMonitor> monitors;
  size_t monitor = 0;  // index of the monitor that holds the window
  bool noDockLine = false;
  int32_t winState = 0;  // 1: minimised to the notification area
};

struct TDockResult {
  // False when the pointer was off the window's monitor during an
  // unforced run: then nothing was computed and nothing may change (the
  // dock line and the docked state stay as they are).
  bool evaluated = false;
  bool pointChanged = false;  // point differs from the proposed one
  TDockPoint point;           // the (possibly snapped and clamped) top-left
  bool move = false;          // the caller must move the window to point
  bool nearEdge = false;      // the return value of DockCalc
  TDockSide side = TDockSide::None;
  bool sideDocks = false;  // no taskbar or application bar on that edge
  bool placeLine = false;  // the dock line goes to lineBounds (SetBPanAlign)
  TDockBounds lineBounds;
  bool docking = false;  // the value for SetDockVisible
};

TDockResult DockCalc(const TDockInput& input);

// Where the dock line lies for a window with the given bounds docked at a side.
TDockBounds DockLineBounds(const TDockRect& window, TDockSide side);

// The constant alpha of the transparent dock line for a transparency in
// percent (clamped to 0..100), rounded half to even.
uint8_t DockLineAlpha(int32_t percent);

// Whether the pointer that touched the dock line 300 ms ago still wants the
// window: it is still on the line and has moved less than 51 pixels along
// either axis (a sweep across the line does not bring the window up).
bool DockDwellShowsWindow(bool stillOnLine, TDockPoint before, TDockPoint after);

// The four pixels whose windows tell a full-screen application: top-left,
// top-right, bottom-right and bottom-left of the monitor.
std::array<TDockPoint, 4> FullScreenCorners(const TDockRect& monitor);

// A full-screen application is in front when the windows at the four
// corners are one and the same, not none, and the foreground window.
bool IsFullScreenWindow(const std::array<uintptr_t, 4>& cornerWindows, uintptr_t foreground);

}  // namespace vellumio::app
