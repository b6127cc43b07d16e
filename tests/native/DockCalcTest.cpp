// Snapping and docking of the main window against the monitor edges.
#include "app/DockCalc.h"

#include <gtest/gtest.h>

#include <vector>

namespace vellumio::app {
namespace {

// A 1280 x 800 monitor; its geometry edges are -1, -1, 1281, 801.
const TDockRect kScreen{0, 0, 1280, 800};
const TDockMonitor kFree{kScreen, kScreen};
const TDockMonitor kTaskbarBottom{kScreen, {0, 0, 1280, 760}};
constexpr int kW = 315;
constexpr int kH = 450;

TDockRect WindowAt(int x, int y) { return {x, y, x + kW, y + kH}; }

// An unforced run (the window is being dragged) from the current bounds to
// the proposed point, the pointer in the middle of the screen.
TDockInput Drag(TDockRect window, TDockPoint proposed, TDockMonitor monitor = kFree) {
  TDockInput in;
  in.window = window;
  in.proposed = proposed;
  in.pointer = {640, 400};
  in.monitors = {monitor};
  return in;
}

TDockInput DragInPlace(int x, int y, TDockMonitor monitor = kFree) {
  return Drag(WindowAt(x, y), {x, y}, monitor);
}

TEST(DockCalc, TenPixelsFromTheRightSnapsThreeInsideAndDocksRight) {
  const TDockResult r = DockCalc(DragInPlace(1280 - 10 - kW, 100));
  ASSERT_TRUE(r.evaluated);
  EXPECT_TRUE(r.pointChanged);
  EXPECT_EQ(r.point, (TDockPoint{1280 - 3 - kW, 100}));
  EXPECT_FALSE(r.move);
  EXPECT_TRUE(r.nearEdge);
  EXPECT_EQ(r.side, TDockSide::Right);
  EXPECT_TRUE(r.sideDocks);
  EXPECT_TRUE(r.docking);
  ASSERT_TRUE(r.placeLine);
  EXPECT_EQ(r.lineBounds, (TDockBounds{1277, 100, 3, kH}));
}

TEST(DockCalc, AFastDragIntoTheEdgeZoneSnapsByWhereTheWindowGoes) {
  // The window was well away from the edge; the drag's last step proposes a
  // place 7 pixels from it. It must end 3 pixels in, its line at the edge.
  const TDockResult r = DockCalc(Drag(WindowAt(600, 100), {1280 - kW - 7, 100}));
  EXPECT_EQ(r.point, (TDockPoint{1280 - kW - 3, 100}));
  EXPECT_EQ(r.side, TDockSide::Right);
  EXPECT_TRUE(r.docking);
  EXPECT_EQ(r.lineBounds, (TDockBounds{1277, 100, 3, 450}));
}

TEST(DockCalc, TaskbarOnTheBottomSnapsButDoesNotDock) {
  const TDockResult r = DockCalc(DragInPlace(400, 800 - 10 - kH, kTaskbarBottom));
  EXPECT_EQ(r.point, (TDockPoint{400, 800 - 3 - kH}));
  EXPECT_TRUE(r.nearEdge);
  EXPECT_EQ(r.side, TDockSide::Bottom);
  EXPECT_FALSE(r.sideDocks);
  EXPECT_FALSE(r.docking);
}

TEST(DockCalc, AppBarsOnEveryEdgeKeepEachSideFromDocking) {
  const TDockMonitor barred{kScreen, {30, 30, 1250, 770}};
  const TDockMonitor freeMonitor = kFree;
  struct Case {
    TDockPoint at;
    TDockSide side;
  };
  const Case cases[] = {{{400, 5}, TDockSide::Top},
                        {{400, 800 - 5 - kH}, TDockSide::Bottom},
                        {{5, 200}, TDockSide::Left},
                        {{1280 - 5 - kW, 200}, TDockSide::Right}};
  for (const Case& c : cases) {
    const TDockResult onBarred = DockCalc(DragInPlace(c.at.x, c.at.y, barred));
    EXPECT_EQ(onBarred.side, c.side);
    EXPECT_FALSE(onBarred.docking) << static_cast<int>(c.side);
    const TDockResult onFree = DockCalc(DragInPlace(c.at.x, c.at.y, freeMonitor));
    EXPECT_TRUE(onFree.docking) << static_cast<int>(c.side);
  }
}

TEST(DockCalc, NoDockLineSnapsButNeverDocks) {
  TDockInput in = DragInPlace(1280 - 10 - kW, 100);
  in.noDockLine = true;
  const TDockResult r = DockCalc(in);
  EXPECT_EQ(r.point.x, 1280 - 3 - kW);
  EXPECT_TRUE(r.nearEdge);
  EXPECT_TRUE(r.sideDocks);
  EXPECT_FALSE(r.placeLine);
  EXPECT_FALSE(r.docking);
}

TEST(DockCalc, MinimisedWindowDoesNotDock) {
  TDockInput in = DragInPlace(1280 - 10 - kW, 100);
  in.winState = 1;
  const TDockResult r = DockCalc(in);
  EXPECT_TRUE(r.sideDocks);
  EXPECT_TRUE(r.placeLine);
  EXPECT_FALSE(r.docking);
}

TEST(DockCalc, ProposedPointWellInsideIsNotSnappedEvenWithThePointerAtTheEdge) {
  // The window still sits against the right edge, but the drag proposes a
  // point more than 50 pixels from both sides.
  TDockInput in = Drag(WindowAt(1280 - 8 - kW, 100), {600, 100});
  in.pointer = {1279, 300};
  const TDockResult r = DockCalc(in);
  ASSERT_TRUE(r.evaluated);
  EXPECT_FALSE(r.pointChanged);
  EXPECT_EQ(r.point, (TDockPoint{600, 100}));
  EXPECT_EQ(r.side, TDockSide::None);
  EXPECT_FALSE(r.nearEdge);
  EXPECT_FALSE(r.docking);
}

TEST(DockCalc, ForceCountsEveryPointAsNearTheEdges) {
  TDockInput in = Drag(WindowAt(10, 200), {100, 200});
  EXPECT_EQ(DockCalc(in).point.x, 100);
  in.force = true;
  const TDockResult forced = DockCalc(in);
  EXPECT_EQ(forced.point.x, 3);
  EXPECT_TRUE(forced.move);
  EXPECT_EQ(forced.side, TDockSide::Left);
}

TEST(DockCalc, CornerDocksToTheTopOrBottomEdge) {
  const TDockResult topRight = DockCalc(DragInPlace(1280 - 6 - kW, 5));
  EXPECT_EQ(topRight.point, (TDockPoint{1280 - 3 - kW, 3}));
  EXPECT_EQ(topRight.side, TDockSide::Top);
  EXPECT_EQ(topRight.lineBounds, (TDockBounds{1280 - 3 - kW, 0, kW, 3}));
  const TDockResult bottomLeft = DockCalc(DragInPlace(4, 800 - 6 - kH));
  EXPECT_EQ(bottomLeft.point, (TDockPoint{3, 800 - 3 - kH}));
  EXPECT_EQ(bottomLeft.side, TDockSide::Bottom);
  EXPECT_EQ(bottomLeft.lineBounds, (TDockBounds{3, 800 - 3, kW, 3}));
}

// The reach of the edges is 20 pixels from the widened monitor rectangle:
// right edges in (1261, 1281], left edges in [-1, 19). A window beyond the
// monitor is not snapped but pulled back by the on-screen clamp.
TEST(DockCalc, EdgeReachIsInclusiveOnTheOutsideExclusiveOnTheInside) {
  struct Case {
    int left;
    int expectedLeft;
    TDockSide side;
  };
  const Case cases[] = {
      {1261 - kW, 1261 - kW, TDockSide::None},  // right edge at mR - 20
      {1262 - kW, 1277 - kW, TDockSide::Right},
      {1281 - kW, 1277 - kW, TDockSide::Right},  // right edge at mR
      {1282 - kW, 1278 - kW, TDockSide::Right},  // clamped to 2 inside
      {19, 19, TDockSide::None},
      {18, 3, TDockSide::Left},
      {-1, 3, TDockSide::Left},
      {-2, 2, TDockSide::Left},
  };
  for (const Case& c : cases) {
    const TDockResult r = DockCalc(DragInPlace(c.left, 200));
    EXPECT_EQ(r.point.x, c.expectedLeft) << "left " << c.left;
    EXPECT_EQ(r.side, c.side) << "left " << c.left;
    EXPECT_EQ(r.point.y, 200) << "left " << c.left;
  }
}

TEST(DockCalc, VerticalReachMatchesTheHorizontal) {
  struct Case {
    int top;
    int expectedTop;
    TDockSide side;
  };
  const Case cases[] = {
      {19, 19, TDockSide::None},
      {18, 3, TDockSide::Top},
      {-1, 3, TDockSide::Top},
      {781 - kH, 781 - kH, TDockSide::None},
      {782 - kH, 797 - kH, TDockSide::Bottom},
      {801 - kH, 797 - kH, TDockSide::Bottom},
  };
  for (const Case& c : cases) {
    const TDockResult r = DockCalc(DragInPlace(500, c.top));
    EXPECT_EQ(r.point.y, c.expectedTop) << "top " << c.top;
    EXPECT_EQ(r.side, c.side) << "top " << c.top;
  }
}

// Monitor 2 (1024 x 768) to the right of monitor 1.
const TDockMonitor kSecond{{1280, 0, 2304, 768}, {1280, 0, 2304, 768}};

TEST(DockCalc, WindowHalfOffTheSecondMonitorIsClampedOntoIt) {
  TDockInput in = DragInPlace(2100, 100);
  in.monitors = {kFree, kSecond};
  in.monitor = 1;
  in.force = true;
  const TDockResult r = DockCalc(in);
  EXPECT_EQ(r.point, (TDockPoint{2304 - 2 - kW, 100}));
  EXPECT_TRUE(r.move);
  EXPECT_EQ(r.side, TDockSide::Right);
  EXPECT_EQ(r.lineBounds, (TDockBounds{2302, 100, 3, kH}));
}

TEST(DockCalc, WindowAcrossTwoMonitorsStaysWhereItIs) {
  TDockInput in = DragInPlace(1100, 100);
  in.monitors = {kFree, kSecond};
  in.force = true;
  const TDockResult r = DockCalc(in);
  EXPECT_FALSE(r.pointChanged);
  EXPECT_EQ(r.side, TDockSide::None);
  EXPECT_FALSE(r.docking);
}

TEST(DockCalc, ClampPullsTheWindowBelowTheTopOfItsMonitor) {
  TDockInput in = DragInPlace(1500, -200);
  in.monitors = {kFree, kSecond};
  in.monitor = 1;
  in.force = true;
  const TDockResult r = DockCalc(in);
  EXPECT_EQ(r.point, (TDockPoint{1500, 2}));
  EXPECT_EQ(r.side, TDockSide::Top);
}

TEST(DockCalc, PointerOffTheMonitorChangesNothingUnlessForced) {
  struct Case {
    TDockPoint pointer;
    bool evaluated;
  };
  // The monitor rectangle of the geometry is -1..1281 x -1..801, inclusive.
  const Case cases[] = {{{1500, 100}, false},
                        {{1282, 100}, false},
                        {{100, -2}, false},
                        {{1281, 801}, true},
                        {{-1, -1}, true}};
  for (const Case& c : cases) {
    TDockInput in = DragInPlace(1280 - 10 - kW, 100);
    in.pointer = c.pointer;
    const TDockResult r = DockCalc(in);
    EXPECT_EQ(r.evaluated, c.evaluated) << c.pointer.x << "," << c.pointer.y;
    EXPECT_EQ(r.nearEdge, c.evaluated);
    EXPECT_EQ(r.pointChanged, c.evaluated);
    in.force = true;
    EXPECT_TRUE(DockCalc(in).evaluated);
  }
}

TEST(DockCalc, MonitorIndexOutOfRangeIsNotEvaluated) {
  TDockInput in = DragInPlace(100, 100);
  in.monitor = 3;
  in.force = true;
  EXPECT_FALSE(DockCalc(in).evaluated);
}

TEST(DockLineBounds, FillTheThreePixelGapAlongTheWholeSide) {
  const TDockRect w{100, 200, 415, 650};
  EXPECT_EQ(DockLineBounds(w, TDockSide::Top), (TDockBounds{100, 197, 315, 3}));
  EXPECT_EQ(DockLineBounds(w, TDockSide::Bottom), (TDockBounds{100, 650, 315, 3}));
  EXPECT_EQ(DockLineBounds(w, TDockSide::Left), (TDockBounds{97, 200, 3, 450}));
  EXPECT_EQ(DockLineBounds(w, TDockSide::Right), (TDockBounds{415, 200, 3, 450}));
}

TEST(DockLineAlpha, RoundsHalfToEvenAndClamps) {
  const std::pair<int, int> cases[] = {{50, 128}, {0, 255},  {100, 0}, {70, 76},  {90, 26},
                                       {30, 178}, {10, 230}, {1, 252}, {-5, 255}, {150, 0}};
  for (const auto& [percent, alpha] : cases) {
    EXPECT_EQ(DockLineAlpha(percent), alpha) << percent;
  }
}

TEST(DockDwell, OnlyAStillPointerOnTheLineBringsTheWindowUp) {
  struct Case {
    bool onLine;
    TDockPoint before, after;
    bool shows;
  };
  const Case cases[] = {
      {true, {1277, 300}, {1277, 300}, true},   {true, {1277, 300}, {1277, 350}, true},
      {true, {1277, 300}, {1277, 351}, false},  {true, {1277, 300}, {1277, 249}, false},
      {true, {1277, 300}, {1226, 300}, false},  {true, {1277, 300}, {1227, 250}, true},
      {false, {1277, 300}, {1277, 300}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DockDwellShowsWindow(c.onLine, c.before, c.after), c.shows)
        << c.after.x << "," << c.after.y;
  }
}

TEST(FullScreen, CornersAreTheOutermostPixelsOfTheMonitor) {
  const auto corners = FullScreenCorners({1280, -100, 2304, 668});
  EXPECT_EQ(corners[0], (TDockPoint{1280, -100}));
  EXPECT_EQ(corners[1], (TDockPoint{2303, -100}));
  EXPECT_EQ(corners[2], (TDockPoint{2303, 667}));
  EXPECT_EQ(corners[3], (TDockPoint{1280, 667}));
}

TEST(FullScreen, OneForegroundWindowMustCoverAllFourCorners) {
  struct Case {
    std::array<uintptr_t, 4> corners;
    uintptr_t foreground;
    bool fullScreen;
  };
  const Case cases[] = {{{7, 7, 7, 7}, 7, true},  {{7, 7, 7, 7}, 8, false},
                        {{7, 7, 9, 7}, 7, false}, {{9, 7, 7, 7}, 7, false},
                        {{0, 0, 0, 0}, 0, false}, {{7, 7, 7, 0}, 7, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsFullScreenWindow(c.corners, c.foreground), c.fullScreen);
  }
}

}  // namespace
}  // namespace vellumio::app
