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

TEST(ErrorBarLayout, ButtonsGrowForLongerCaptionsAndStayCentred) {
  // Short captions keep the design widths.
  const TErrorBarLayout design = LayOutErrorBar(400, 300, 30, 80, 40);
  EXPECT_EQ(design.first.width, 125);
  EXPECT_EQ(design.second.width, 75);
  // A caption of 120 pixels needs 136 with the padding.
  const TErrorBarLayout l = LayOutErrorBar(400, 300, 30, 120, 70);
  EXPECT_EQ(l.first.width, 136);
  EXPECT_EQ(l.second.width, 86);
  EXPECT_EQ(l.first.x, (300 - (136 + 5 + 86)) / 2);
  EXPECT_EQ(l.second.x, l.first.x + 136 + 5);
  // In the narrowest bar the buttons make it wider rather than overhang.
  const TErrorBarLayout narrow = LayOutErrorBar(250, 300, 30, 150, 70);
  EXPECT_EQ(narrow.bar.width, 166 + 5 + 86 + 14);
  EXPECT_EQ(narrow.first.x, 7);
  EXPECT_EQ(narrow.second.x + narrow.second.width, narrow.bar.width - 7);
}

}  // namespace
}  // namespace vellumio::app
