// The note view's arithmetic: measures per font size and DPI, date groups,
// card heights, the editing arrangement, colours and hit zones.
#include "noteview/NoteLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "base/DateTime.h"
#include "noteview/Scheme.h"

namespace vellumio::noteview {
namespace {

// Scaled before rounding (70/3 * 1.5 = 35 at 144 DPI); a small text of
// 23.5 or 20.5 goes to the even neighbour, and Px(9) = 14 is its least.
TEST(NoteLayout, MeasuresPerFontSizeAndDpi) {
  struct Case {
    int font, dpi, lh, sh, hh;
  } cases[] = {
      {0, 96, 13, 9, 21},   {1, 96, 15, 9, 21},   {2, 96, 17, 10, 22},  {3, 96, 19, 12, 24},
      {4, 96, 21, 14, 26},  {5, 96, 23, 16, 28},  {-3, 96, 13, 9, 21},  {9, 96, 23, 16, 28},
      {5, 144, 35, 24, 42}, {4, 144, 32, 20, 38}, {2, 144, 26, 14, 32}, {0, 144, 20, 14, 32},
      {5, 192, 47, 31, 55}, {0, 192, 27, 18, 42},
  };
  for (const Case& c : cases) {
    const TViewMetrics m = MetricsFor(c.font, c.dpi);
    SCOPED_TRACE(testing::Message() << "font " << c.font << " at " << c.dpi);
    EXPECT_EQ(m.lineHeight, c.lh);
    EXPECT_EQ(m.smallHeight, c.sh);
    EXPECT_EQ(m.headerHeight, c.hh);
    EXPECT_EQ(m.subjectHeight, c.hh);
  }
}

// A variable-height list box item holds at most 255 pixels; the tallest
// card outgrows that from 144 DPI on.
TEST(NoteLayout, TallestCardPerDpi) {
  EXPECT_EQ(CardHeight(MetricsFor(5, 96), 8, true, true), 8 * 23 + 28 + 14);
  EXPECT_EQ(CardHeight(MetricsFor(5, 144), 8, true, true), 8 * 35 + 42 + 21);
  EXPECT_EQ(CardHeight(MetricsFor(5, 192), 8, true, true), 8 * 47 + 55 + 28);
  EXPECT_EQ(CardHeight(MetricsFor(2, 144), 3, false, false), 3 * 26 + 9);
  EXPECT_EQ(PromptItemHeight(MetricsFor(2, 96)), 3 * 17 + 22 + 6);
}

TEST(NoteLayout, CardFlagsFollowTheGroups) {
  auto at = [](int y, int mo, int d, int h) { return EncodeDateTime(y, mo, d, h, 0, 0); };
  const double today = at(2024, 3, 10, 18);
  struct Case {
    const char* what;
    int position, count, mode;
    double date, above, below;
    bool header, end;
  } cases[] = {
      {"top, written today", 0, 3, 1, at(2024, 3, 10, 8), 0, at(2024, 3, 9, 8), false, false},
      {"top, yesterday, any mode", 0, 3, 0, at(2024, 3, 9, 8), 0, at(2020, 1, 1, 8), true, false},
      {"same day above, day before below", 1, 3, 1, at(2024, 3, 9, 8), at(2024, 3, 9, 23),
       at(2024, 3, 8, 23), false, true},
      {"midnight splits days", 1, 3, 1, at(2024, 3, 8, 23), at(2024, 3, 9, 0), at(2024, 3, 8, 1),
       true, false},
      {"month: same month above, February below", 1, 3, 2, at(2024, 3, 1, 8), at(2024, 3, 31, 8),
       at(2024, 2, 29, 8), false, true},
      {"month: January of two years", 1, 3, 2, at(2024, 1, 15, 8), at(2025, 1, 15, 8),
       at(2023, 1, 20, 8), true, true},
      {"year", 1, 3, 3, at(2024, 6, 1, 8), at(2024, 12, 31, 8), at(2023, 12, 31, 8), false, true},
      {"last note never ends a group", 2, 3, 1, at(2024, 3, 5, 8), at(2024, 3, 6, 8),
       at(2024, 3, 1, 8), true, false},
      {"no grouping", 1, 3, 0, at(2024, 3, 5, 8), at(2025, 3, 6, 8), at(2023, 3, 1, 8), false,
       false},
  };
  for (const Case& c : cases) {
    const TCardFlags f = CardFlags(c.position, c.count, c.date, c.above, c.below, today, c.mode);
    EXPECT_EQ(f.headerVisible, c.header) << c.what;
    EXPECT_EQ(f.groupEnd, c.end) << c.what;
  }
}

TEST(NoteLayout, GroupModeFromTheFirstElevenNotes) {
  struct Case {
    const char* what;
    int setting;
    std::vector<double> dates;  // newest first
    int mode;
  } cases[] = {
      {"setting wins", 2, {10, 9, 8}, 2},
      {"days apart", 0, {10.9, 9.1, 8.5, 7.0}, 1},
      {"months apart", 0, {200, 160, 120}, 2},
      {"years apart", 0, {2000, 1600, 1200}, 3},
      {"oldest first", 0, {90, 95, 100}, 0},
      {"one note: average 3", 0, {100}, 1},
      {"no notes", 0, {}, 1},
      {"29.5 rounds to 30", 0, {100, 71, 41}, 2},
      {"349", 0, {1000, 651}, 2},
      {"350", 0, {1000, 650}, 3},
      {"-0.5 rounds to 0", 0, {100, 101, 101}, 1},
      {"the twelfth is not read", 0, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, -90000}, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ComputeGroupMode(c.setting, c.dates.data(), static_cast<int>(c.dates.size())), c.mode)
        << c.what;
}

TEST(NoteLayout, EditingArrangementAndCardRects) {
  const TViewMetrics m = MetricsFor(2, 96);  // LH 17, HH 22, subject 22
  EXPECT_EQ(ArrangeView(400, 300, m, false, true).listBox, (TRect{0, 0, 400, 300}));
  EXPECT_EQ(EditAreaTop(m), 95);
  const TViewArrangement a = ArrangeView(400, 300, m, true, true);
  EXPECT_EQ(a.memo, (TRect{50, 118, 400, 300}));
  EXPECT_EQ(a.subject, (TRect{53, 97, 397, 115}));
  EXPECT_EQ(a.listBox, (TRect{0, 0, 400, 73}));
  EXPECT_EQ(a.saveButton, (TRect{6, 270, 38, 292}));
  const TViewArrangement plain = ArrangeView(400, 300, m, true, false);
  EXPECT_EQ(plain.memo, (TRect{50, 95, 400, 300}));
  EXPECT_EQ(plain.subject, TRect{});

  const TCardGeometry g = CardGeometry(300, 84, 3, 11, m);
  EXPECT_EQ(g.textArea, (TRect{54, 22, 298, 73}));
  EXPECT_EQ(g.leftColumn, (TRect{0, 22, 50, 84}));
  EXPECT_EQ(g.card, (TRect{47, 0, 300, 84}));
  EXPECT_EQ(ReminderBox(0, 22, m), (TRect{7, 52, 20, 65}));
  EXPECT_EQ(CompletionBox(0, 22, m), (TRect{23, 52, 36, 65}));
  // 7 * 1.5 = 10.5 and 13 * 1.5 = 19.5 round to even: the box is 20 x 20.
  EXPECT_EQ(ReminderBox(0, 0, MetricsFor(2, 144)), (TRect{10, 45, 30, 65}));
}

TEST(NoteLayout, ColoursMixPerChannel) {
  EXPECT_EQ(MixColour(0x000000, 0xFFFFFF, 128), 0x7F7F7Fu);
  EXPECT_EQ(MixColour(0x102030, 0x302010, 64), 0x182028u);
  EXPECT_EQ(MixColour(0xFF123456, 0x00000000, 0), 0x123456u);
  EXPECT_EQ(MixColour(0x123456, 0xAB654321, 256), 0x654321u);

  TScheme scheme;
  scheme.FocusedColor = 0xFF0000;
  scheme.FocusedAlpha = 128;
  scheme.ReminderColor = 0x0000FF;
  scheme.ReminderAlpha = 64;
  EXPECT_EQ(BlendColour(0x404040, false, false, scheme), 0x404040u);
  EXPECT_EQ(BlendColour(0x404040, true, false, scheme), 0x9F2020u);
  EXPECT_EQ(BlendColour(0x404040, false, true, scheme), 0x30306Fu);
  EXPECT_EQ(BlendColour(0x404040, true, true, scheme), 0x30306Fu);

  // 13 rows: a top band of 4.
  const auto b = GlossyBands(10, 23, 0x000000, 0xFFFFFF);
  EXPECT_EQ((std::array{b[0].top, b[0].bottom, b[1].top, b[1].bottom}),
            (std::array{10, 14, 14, 23}));
  EXPECT_EQ((std::array{b[0].topColour, b[0].bottomColour, b[1].topColour, b[1].bottomColour}),
            (std::array{0xF9F9F9u, 0x777777u, 0x000000u, 0xDBDBDBu}));
}

// Each zone one pixel inside and exactly on each border (-1 there).
TEST(NoteLayout, HitZonesHaveStrictBorders) {
  const TViewMetrics m = MetricsFor(2, 96);
  // The card: top 100, header 22, bottom 184, group end (gap 11). Its
  // time label is 6 < x < 37, 122 < y < 137; reminder 6 < x < 21 and
  // completion 22 < x < 37 at 152 < y < 167; link 282 < x < 300 and
  // 155 < y < 173. Editing moves the row to 95 + 29 and has no link zone;
  // on the prompt a later zone overrides the new-note zone.
  const THitItem prompt{.bounds = {0, 0, 300, 79}, .isPrompt = true, .headerVisible = true};
  THitItem click = prompt, clickNote = prompt;
  click.singleClickCreate = clickNote.singleClickCreate = clickNote.hasNote = true;
  const THitItem card{.bounds = {0, 100, 300, 184},
                      .hasNote = true,
                      .headerVisible = true,
                      .groupEnd = true,
                      .hasLinks = true};
  THitItem noLinks = card, gap6 = card, noHeader = card;
  noLinks.hasLinks = gap6.groupEnd = noHeader.headerVisible = false;
  const THitItem edit{
      .editing = true, .bounds = {0, 95, 300, 400}, .hasNote = true, .hasLinks = true};
  struct Case {
    const THitItem& item;
    int x, y, zone;
  } cases[] = {
      {prompt, 150, 40, -1},   {click, 150, 40, 4},  {clickNote, 7, 53, 1}, {card, 7, 123, 5},
      {card, 36, 136, 5},      {card, 6, 123, -1},   {card, 7, 122, -1},    {card, 37, 130, -1},
      {card, 20, 137, -1},     {card, 7, 153, 1},    {card, 20, 166, 1},    {card, 10, 152, -1},
      {card, 10, 167, -1},     {card, 21, 160, -1},  {card, 22, 160, -1},   {card, 23, 160, 3},
      {card, 36, 166, 3},      {card, 37, 160, -1},  {card, 283, 156, 2},   {card, 299, 172, 2},
      {card, 282, 156, -1},    {card, 283, 155, -1}, {card, 290, 173, -1},  {card, 300, 160, -1},
      {noLinks, 283, 156, -1}, {gap6, 283, 156, -1}, {gap6, 283, 177, 2},   {noHeader, 7, 101, 5},
      {noHeader, 7, 131, 1},   {edit, 7, 95, 5},     {edit, 7, 94, -1},     {edit, 7, 125, 1},
      {edit, 7, 124, -1},      {edit, 36, 138, 3},   {edit, 299, 377, -1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(HitZone(c.item, c.x, c.y, m), c.zone) << "case " << i;
  }
}

}  // namespace
}  // namespace vellumio::noteview
