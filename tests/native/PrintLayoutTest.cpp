// The print layout: the text area on real printer geometries, the pages the
// lines fall on, and where the header and footer go.
#include <gtest/gtest.h>

#include <vector>

#include "print/PrintLayout.h"

namespace vellumio {
namespace {

const TPrintMargins kDefaults{0.75f, 0.75f, 0.50f, 1.00f};

// A4 at `ppi` with an unprintable border of `border` pixels on every side.
TPrinterPage A4(int ppi, int border) {
  TPrinterPage page;
  page.ppiX = page.ppiY = ppi;
  page.physWidth = ppi * 827 / 100;
  page.physHeight = ppi * 1169 / 100;
  page.offsetX = page.offsetY = border;
  page.pageWidth = page.physWidth - 2 * border;
  page.pageHeight = page.physHeight - 2 * border;
  return page;
}

TEST(PrintLayout, TextAreaOnPrintersWithAndWithoutBorders) {
  const struct {
    TPrinterPage page;
    TPixelRect text;  // in printable-area coordinates
  } cases[] = {
      // 600 ppi: 450 pixels from the left edge, 600 above the bottom edge.
      {A4(600, 0), {450, 450, 4962 - 300, 7014 - 600}},
      {A4(300, 0), {225, 225, 2481 - 150, 3507 - 300}},
      // A border narrower than the margins moves the origin only.
      {A4(600, 100), {350, 350, 4962 - 300 - 100, 7014 - 600 - 100}},
      // A border wider than the margins wins.
      {A4(300, 400), {0, 0, 2481 - 800, 3507 - 800}},
  };
  for (const auto& c : cases) {
    TPrintArea area;
    ASSERT_TRUE(ComputePrintArea(c.page, kDefaults, area)) << c.page.ppiX;
    EXPECT_EQ(area.text, c.text) << c.page.ppiX << " " << c.page.offsetX;
    EXPECT_EQ(area.header, (TPixelRect{c.text.left, 0, c.text.right, c.text.top}));
    EXPECT_EQ(area.footer, (TPixelRect{c.text.left, c.text.bottom, c.text.right, c.page.pageHeight}));
  }
}

TEST(PrintLayout, MarginsRoundHalvesToEvenAndMayLeaveNothing) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  TPrinterPage page = A4(300, 0);
  page.ppiX = 6;  // 6 x 0.25 = 1.5 -> 2, 6 x 0.75 = 4.5 -> 4
  TPrintArea area;
  ASSERT_TRUE(ComputePrintArea(page, {0.25f, 0, 0.75f, 0}, area));
  EXPECT_EQ(area.text.left, 2);
  EXPECT_EQ(area.text.right, page.physWidth - 4);

  TPrinterPage letter;
  letter.ppiX = letter.ppiY = 600;
  letter.physWidth = letter.pageWidth = 5100;
  letter.physHeight = letter.pageHeight = 6600;
  EXPECT_FALSE(ComputePrintArea(letter, {50, 50, 50, 50}, area));
  EXPECT_FALSE(ComputePrintArea(letter, {0, 5.5f, 0, 5.5f}, area));
}

TEST(PrintLayout, BoldMarkAndBlankLines) {
  const TPrintLine date = PreparePrintLine(u"##$>>Monday, 5 May 2025 10:15");
  EXPECT_TRUE(date.bold);
  EXPECT_EQ(date.text, u"Monday, 5 May 2025 10:15");
  EXPECT_EQ(date.measured, date.text);
  const TPrintLine blank = PreparePrintLine(u"  ");
  EXPECT_FALSE(blank.bold);
  EXPECT_EQ(blank.measured, u"W");
  EXPECT_EQ(PreparePrintLine(u"").measured, u"W");
  EXPECT_EQ(PreparePrintLine(u"x ##$>>").text, u"x ##$>>");
}

// Lines of the given heights on pages 100 pixels high (from 10 to 110),
// the shortest line 10 high: the indexes on each page.
std::vector<std::vector<size_t>> Pages(const std::vector<int>& heights, int minLine = 10) {
  std::vector<std::vector<size_t>> pages;
  size_t next = 0;
  while (next < heights.size()) {
    const auto placed = LayoutPage(next, heights.size(), 10, 110, minLine,
                                   [&](size_t i) { return heights[i]; });
    std::vector<size_t> page;
    int y = 10;
    for (const TPlacedLine& line : placed) {
      EXPECT_EQ(line.top, y);
      y += line.height;
      page.push_back(line.index);
    }
    pages.push_back(page);
    next = placed.back().index + 1;
  }
  return pages;
}

TEST(PrintLayout, LinesFallOnPages) {
  using P = std::vector<std::vector<size_t>>;
  EXPECT_EQ(Pages({50, 50, 10}), (P{{0, 1}, {2}}));       // exactly full
  EXPECT_EQ(Pages({50, 45, 10}), (P{{0, 1}, {2}}));       // 5 left < one line
  EXPECT_EQ(Pages({50, 40, 20, 10}), (P{{0, 1}, {2, 3}}));  // would pass the bottom
  // A paragraph taller than a page has a page of its own; the next line
  // starts the next page.
  EXPECT_EQ(Pages({10, 300, 10}), (P{{0}, {1}, {2}}));
  // An area lower than one line: one line per page, and the job ends.
  EXPECT_EQ(Pages({10, 10}, 200), (P{{0}, {1}}));
}

TEST(PrintLayout, HeaderAndFooterPlaces) {
  const TPixelRect header{450, 0, 4662, 450};
  const THeaderPlace h = PlaceHeader(header, 600, 60);
  EXPECT_EQ(h.ruleY, 450 - 33);
  EXPECT_EQ(h.ruleWidth, 8);  // one point: 600 / 72 = 8.33
  EXPECT_EQ(h.textTop, 450 - 60 - 60);
  const TFooterPlace f = PlaceFooter({450, 6414, 4662, 7014}, 300);
  EXPECT_EQ(f.ruleY, 6414);
  EXPECT_EQ(f.ruleWidth, 4);
  EXPECT_EQ(f.textTop, 6414 + 16);
  EXPECT_EQ(PageNumberText(12), u"Page 12");
}

}  // namespace
}  // namespace vellumio
