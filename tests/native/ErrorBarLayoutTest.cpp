// The error bar's arithmetic: centred in the box, never narrower than 220
// pixels, as high as its text plus room for the buttons, which sit centred
// side by side.
#include <gtest/gtest.h>

#include "app/ErrorBarLayout.h"

namespace vellumio::app {
namespace {

TEST(ErrorBarLayout, BarIsCentredAndButtonsSitAboveItsBottom) {
  const TErrorBarLayout l = LayOutErrorBar(400, 400, 30);
  EXPECT_EQ(l.bar, (TBarRect{50, 140, 300, 120}));
  EXPECT_EQ(l.label, (TBarRect{20, 20, 260, 30}));
  // 125 + 5 + 75 = 205 wide, centred in 300.
  EXPECT_EQ(l.first, (TBarRect{47, 80, 125, 25}));
  EXPECT_EQ(l.second, (TBarRect{177, 80, 75, 25}));
  EXPECT_EQ(ErrorBarLabelWidth(400), l.label.width);
  // The window's default width (315) is already below the minimum.
  EXPECT_EQ(LayOutErrorBar(315, 400, 30).bar.width, 220);
}

TEST(ErrorBarLayout, NarrowBoxesKeepTheMinimumWidth) {
  for (int32_t boxWidth : {0, 100, 250, 320}) {
    const TErrorBarLayout l = LayOutErrorBar(boxWidth, 300, 45);
    EXPECT_EQ(l.bar.width, 220) << boxWidth;
    EXPECT_EQ(l.bar.x, (boxWidth - 220) / 2) << boxWidth;  // overhangs both sides alike
    EXPECT_EQ(l.bar.height, 135);
    EXPECT_EQ(l.first.y + 40, l.bar.height);
    EXPECT_EQ(l.second.x - (l.first.x + l.first.width), 5);
  }
  EXPECT_EQ(LayOutErrorBar(600, 300, 45).bar.width, 500);
}

}  // namespace
}  // namespace vellumio::app
