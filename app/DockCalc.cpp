#include "app/DockCalc.h"

#include <algorithm>
#include <cstdlib>

namespace vellumio::app {

namespace {

// How near an edge snaps and docks, how far inside a point counts as well
// away from the edges, and the gap the dock line fills.
constexpr int32_t kSnapReach = 20;
constexpr int32_t kInsideMargin = 50;
constexpr int32_t kLineWidth = 3;

// The monitor widened by one pixel on every side: a window pushed against
// the edge by the system still counts as at that edge.
struct TEdges {
  int32_t l, t, r, b;
};

TEdges EdgesOf(const TDockRect& monitor) {
  return {monitor.left - 1, monitor.top - 1, monitor.left + monitor.Width() + 1,
          monitor.top + monitor.Height() + 1};
}

TDockRect RectAt(TDockPoint p, int32_t w, int32_t h) { return {p.x, p.y, p.x + w, p.y + h}; }

bool NearRight(const TEdges& m, const TDockRect& r) {
  return m.r - kSnapReach < r.right && r.right <= m.r;
}
bool NearLeft(const TEdges& m, const TDockRect& r) {
  return m.l <= r.left && r.left < m.l + kSnapReach;
}
bool NearTop(const TEdges& m, const TDockRect& r) {
  return m.t <= r.top && r.top < m.t + kSnapReach;
}
bool NearBottom(const TEdges& m, const TDockRect& r) {
  return m.b - kSnapReach < r.bottom && r.bottom <= m.b;
}

// Tests run right, left, top, bottom; a later match overrides an earlier
// one on the same axis.
TDockPoint Snap(const TEdges& m, const TDockRect& r, TDockPoint p, bool snapX, bool snapY) {
  const int32_t w = r.Width();
  const int32_t h = r.Height();
  if (snapX && NearRight(m, r)) p.x = m.r - w - 4;
  if (snapX && NearLeft(m, r)) p.x = m.l + 4;
  if (snapY && NearTop(m, r)) p.y = m.t + 4;
  if (snapY && NearBottom(m, r)) p.y = m.b - h - 4;
  return p;
}

bool InShrunkMonitor(const TDockMonitor& monitor, int32_t x, int32_t y) {
  const TDockRect& b = monitor.bounds;
  return x >= b.left + 2 && x < b.right - 2 && y >= b.top + 2 && y < b.bottom - 2;
}

// A window whose top-left or bottom-right corner lies on no monitor is
// pulled back onto its own monitor.
TDockPoint KeepOnScreen(const TDockInput& in, const TEdges& m, TDockPoint p, int32_t w, int32_t h) {
  const TDockRect r = RectAt(p, w, h);
  const auto holdsTopLeft = [&](const TDockMonitor& mon) {
    return InShrunkMonitor(mon, r.left, r.top);
  };
  const auto holdsBottomRight = [&](const TDockMonitor& mon) {
    return InShrunkMonitor(mon, r.right, r.bottom);
  };
  const bool onScreen = std::any_of(in.monitors.begin(), in.monitors.end(), holdsTopLeft) &&
                        std::any_of(in.monitors.begin(), in.monitors.end(), holdsBottomRight);
  if (onScreen) return p;
  if (r.right > m.r - 3) p.x = m.r - w - 3;
  if (r.left < m.l + 3) p.x = m.l + 3;
  if (r.bottom > m.b - 3) p.y = m.b - h - 3;
  if (r.top < m.t + 3) p.y = m.t + 3;
  return p;
}

// A taskbar or application bar on an edge takes it out of the work area;
// the window then only snaps there.
bool EdgeIsFree(const TDockMonitor& monitor, TDockSide side) {
  const TDockRect& b = monitor.bounds;
  const TDockRect& w = monitor.workArea;
  switch (side) {
    case TDockSide::Top:
      return w.top <= b.top;
    case TDockSide::Bottom:
      return w.bottom >= b.bottom;
    case TDockSide::Left:
      return w.left <= b.left;
    case TDockSide::Right:
      return w.right >= b.right;
    case TDockSide::None:
      break;
  }
  return false;
}

// Later matches replace the side found earlier, so at a corner the top or
// bottom edge wins.
TDockSide FindSide(const TEdges& m, const TDockRect& r, bool testX, bool testY) {
  TDockSide side = TDockSide::None;
  if (testX && NearRight(m, r)) side = TDockSide::Right;
  if (testX && NearLeft(m, r)) side = TDockSide::Left;
  if (testY && NearTop(m, r)) side = TDockSide::Top;
  if (testY && NearBottom(m, r)) side = TDockSide::Bottom;
  return side;
}

bool PointerOnMonitor(const TEdges& m, TDockPoint pointer) {
  return pointer.x >= m.l && pointer.x <= m.r && pointer.y >= m.t && pointer.y <= m.b;
}

}  // namespace

TDockResult DockCalc(const TDockInput& in) {
  TDockResult result;
  if (in.monitor >= in.monitors.size()) return result;
  const TDockMonitor& monitor = in.monitors[in.monitor];
  const TEdges m = EdgesOf(monitor.bounds);
  const int32_t w = in.window.Width();
  const int32_t h = in.window.Height();
  if (!in.force && !PointerOnMonitor(m, in.pointer)) return result;
  result.evaluated = true;

  const TDockPoint p0 = in.proposed;
  const bool insideX = !in.force && p0.x > m.l + kInsideMargin && p0.x + w < m.r - kInsideMargin;
  const bool insideY = !in.force && p0.y > m.t + kInsideMargin && p0.y + h < m.b - kInsideMargin;

  // Snapped by where the window is going, not where it was: a fast drag
  // whose last step lands in the edge zone would otherwise dock unsnapped,
  // with the dock line a few pixels off the screen edge.
  // (A forced run recomputes the place the window has.)
  TDockPoint p = Snap(m, in.force ? in.window : RectAt(p0, w, h), p0, !insideX, !insideY);
  p = KeepOnScreen(in, m, p, w, h);
  const TDockRect r = RectAt(p, w, h);
  result.point = p;
  result.pointChanged = !(p == p0);
  result.move = in.force;

  result.side = FindSide(m, r, !insideX, !insideY);
  result.nearEdge = result.side != TDockSide::None;
  result.sideDocks = result.nearEdge && EdgeIsFree(monitor, result.side);
  result.placeLine = result.nearEdge && !in.noDockLine;
  if (result.placeLine) result.lineBounds = DockLineBounds(r, result.side);
  result.docking = !in.noDockLine && result.sideDocks && in.winState != 1;
  return result;
}

TDockBounds DockLineBounds(const TDockRect& r, TDockSide side) {
  switch (side) {
    case TDockSide::Top:
      return {r.left, r.top - kLineWidth, r.Width(), kLineWidth};
    case TDockSide::Bottom:
      return {r.left, r.bottom, r.Width(), kLineWidth};
    case TDockSide::Left:
      return {r.left - kLineWidth, r.top, kLineWidth, r.Height()};
    case TDockSide::Right:
      return {r.right, r.top, kLineWidth, r.Height()};
    case TDockSide::None:
      break;
  }
  return {};
}

uint8_t DockLineAlpha(int32_t percent) {
  const int32_t p = std::clamp(percent, 0, 100);
  // (100 - p) / 100 * 255 in whole numbers: 255 * (100 - p) hundredths.
  const int32_t hundredths = 255 * (100 - p);
  int32_t whole = hundredths / 100;
  const int32_t rest = hundredths % 100;
  if (rest > 50 || (rest == 50 && whole % 2 == 1)) ++whole;
  return static_cast<uint8_t>(whole);
}

bool DockDwellShowsWindow(bool stillOnLine, TDockPoint before, TDockPoint after) {
  return stillOnLine && std::abs(after.x - before.x) < 51 && std::abs(after.y - before.y) < 51;
}

std::array<TDockPoint, 4> FullScreenCorners(const TDockRect& monitor) {
  const int32_t right = monitor.left + monitor.Width();
  const int32_t bottom = monitor.top + monitor.Height();
  return {{{monitor.left, monitor.top},
           {right - 1, monitor.top},
           {right - 1, bottom - 1},
           {monitor.left, bottom - 1}}};
}

bool IsFullScreenWindow(const std::array<uintptr_t, 4>& corners, uintptr_t foreground) {
  const uintptr_t first = corners[0];
  if (first == 0 || first != foreground) return false;
  return std::all_of(corners.begin(), corners.end(), [first](uintptr_t w) { return w == first; });
}

}  // namespace vellumio::app
