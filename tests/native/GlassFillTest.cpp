// The colours and bands of the header's glass fill.
#include "ui/GlassFill.h"

#include <gtest/gtest.h>

namespace vellumio::ui {
namespace {

const uint32_t kBase = GlassRgb(211, 99, 0);
const uint32_t kLight = GlassRgb(255, 189, 131);

TEST(GlassFill, MixWeighsEachChannelWithIntegerDivision) {
  struct Case {
    int weight;
    uint32_t expected;
  };
  // Worked by hand: red (211 * (256 - w) + 255 * w) / 256, and so on.
  const Case cases[] = {{0, kBase},
                        {256, kLight},
                        {250, GlassRgb(253, 186, 127)},
                        {120, GlassRgb(231, 141, 61)},
                        {220, GlassRgb(248, 176, 112)}};
  for (const Case& c : cases) {
    EXPECT_EQ(GlassMix(kBase, kLight, c.weight), c.expected) << c.weight;
  }
}

TEST(GlassFill, ChannelsDoNotCarryIntoEachOther) {
  EXPECT_EQ(GlassMix(GlassRgb(255, 0, 0), GlassRgb(0, 0, 255), 128), GlassRgb(127, 0, 127));
  EXPECT_EQ(GlassMix(0xFFFFFF, 0xFFFFFF, 100), 0xFFFFFFu);
  EXPECT_EQ(GlassMix(GlassRgb(181, 45, 0), GlassRgb(255, 255, 225), 250), GlassRgb(253, 250, 219));
}

TEST(GlassFill, UpperBandIsARoundedThird) {
  struct Case {
    int top, bottom, split;
  };
  const Case cases[] = {{0, 23, 8}, {0, 22, 7}, {0, 24, 8}, {10, 33, 18},
                        {0, 2, 1},  {0, 1, 0},  {5, 5, 5},  {0, 46, 15}};
  for (const Case& c : cases) {
    const auto bands = GlassBands(c.top, c.bottom, kBase, kLight);
    EXPECT_EQ(bands[0].top, c.top);
    EXPECT_EQ(bands[0].bottom, c.split) << c.top << ".." << c.bottom;
    EXPECT_EQ(bands[1].top, c.split);
    EXPECT_EQ(bands[1].bottom, c.bottom);
  }
}

TEST(GlassFill, BandsFadeFromTheHighlightIntoTheBase) {
  const auto bands = GlassBands(0, 23, kBase, kLight);
  EXPECT_EQ(bands[0].topColour, GlassRgb(253, 186, 127));
  EXPECT_EQ(bands[0].bottomColour, GlassRgb(231, 141, 61));
  EXPECT_EQ(bands[1].topColour, kBase);
  EXPECT_EQ(bands[1].bottomColour, GlassRgb(248, 176, 112));
}

}  // namespace
}  // namespace vellumio::ui
