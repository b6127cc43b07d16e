#include "ui/PlaceNear.h"

#include <gtest/gtest.h>

namespace vellumio::ui {
namespace {

TEST(PlaceNear, HalvesGoToTheEvenNeighbour) {
  const struct {
    int32_t value, half;
  } cases[] = {{0, 0},     {1, 0},     {2, 1},  {3, 2},   {5, 2},   {75, 38}, {77, 38},
               {381, 190}, {383, 192}, {-1, 0}, {-3, -2}, {-5, -2}, {-6, -3}};
  for (const auto& c : cases) EXPECT_EQ(HalfRounded(c.value), c.half) << c.value;
}

TEST(PlaceNear, AnchorIsTheCursorOnTheControlElseItsCentre) {
  const TPlaceRect control{100, 200, 175, 225};  // 75 x 25
  const struct {
    TPlacePoint cursor;
    TPlacePoint anchor;
  } cases[] = {
      {{120, 210}, {120, 210}},  // on the control
      {{100, 200}, {100, 200}},  // top-left corner belongs to it
      {{175, 210}, {138, 212}},  // the right edge does not: centre 100+38, 200+12
      {{120, 225}, {138, 212}},  // nor the bottom edge
      {{5, 5}, {138, 212}},
  };
  for (const auto& c : cases) {
    const TPlacePoint a = PlaceAnchor(c.cursor, control);
    EXPECT_EQ(a.x, c.anchor.x) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(a.y, c.anchor.y) << c.cursor.x << "," << c.cursor.y;
  }
  const TPlacePoint noControl = PlaceAnchor({7, 9}, std::nullopt);
  EXPECT_EQ(noControl.x, 7);
  EXPECT_EQ(noControl.y, 9);
}

TEST(PlaceNear, CentresOnTheAnchorAndKeepsInsideTheWorkArea) {
  const TPlaceRect work{0, 0, 1280, 770};
  const struct {
    const char* what;
    TPlacePoint cursor;
    int32_t width, height;
    TPlacePoint corner;
  } cases[] = {
      {"inside", {640, 400}, 381, 170, {450, 315}},
      {"odd sizes round to even halves", {640, 400}, 383, 171, {448, 314}},
      {"off the left", {10, 400}, 381, 170, {5, 315}},
      {"off the top", {640, 3}, 381, 170, {450, 5}},
      {"off the right", {1270, 400}, 381, 170, {1280 - 381 - 5, 315}},
      {"off the bottom", {640, 760}, 381, 170, {450, 770 - 170 - 5}},
      {"bottom-right corner", {1279, 769}, 200, 100, {1075, 665}},
      // Wider than the work area: the left correction comes first and the
      // right one then pulls the dialog back, past the left edge.
      {"wider than the area", {640, 400}, 1400, 170, {1280 - 1400 - 5, 315}},
      {"taller than the area", {640, 400}, 381, 900, {450, 770 - 900 - 5}},
  };
  for (const auto& c : cases) {
    const TPlacePoint p = PlaceNearPosition(c.cursor, std::nullopt, c.width, c.height, work);
    EXPECT_EQ(p.x, c.corner.x) << c.what;
    EXPECT_EQ(p.y, c.corner.y) << c.what;
  }
}

TEST(PlaceNear, WorkAreaOfASecondMonitorAndNoMainWindow) {
  // A monitor left of the primary one has negative coordinates.
  const TPlaceRect left{-1920, 0, 0, 1040};
  TPlacePoint p = PlaceNearPosition({-1915, 1030}, std::nullopt, 300, 200, left);
  EXPECT_EQ(p.x, -1915);  // -1915-150 is left of -1920: -1920+5
  EXPECT_EQ(p.y, 1040 - 200 - 5);
  // Without a main window nothing is clamped, even far off any screen.
  p = PlaceNearPosition({-5000, 10}, std::nullopt, 300, 200, std::nullopt);
  EXPECT_EQ(p.x, -5150);
  EXPECT_EQ(p.y, -90);
}

TEST(PlaceNear, ControlCentreIsTheAnchorWhenThePointerIsElsewhere) {
  const TPlaceRect work{0, 0, 1280, 770};
  const TPlaceRect button{1000, 700, 1075, 725};
  // Centre (1038, 712): a 381 x 135 box would reach 1228 x 780, below the
  // work area, so it moves up to 770 - 135 - 5.
  const TPlacePoint p = PlaceNearPosition({10, 10}, button, 381, 135, work);
  EXPECT_EQ(p.x, 1038 - 190);
  EXPECT_EQ(p.y, 630);
}

}  // namespace
}  // namespace vellumio::ui
