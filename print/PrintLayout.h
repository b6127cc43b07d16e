// The page layout of note printing, without a printer: where the text, the
// header and the footer go on a page of a given printer, which lines go on
// which page, and how the page header and footer are placed.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumio {

// What the printer tells about its paper, in device pixels.
struct TPrinterPage {
  int ppiX = 0, ppiY = 0;                  // pixels per inch
  int offsetX = 0, offsetY = 0;            // unprintable border left and top
  int physWidth = 0, physHeight = 0;       // the whole sheet
  int pageWidth = 0, pageHeight = 0;       // the printable area
};

// Margins in inches, measured from the paper's edges.
struct TPrintMargins {
  float left = 0, top = 0, right = 0, bottom = 0;
};

struct TPixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TPixelRect&) const = default;
};

// Rectangles in printable-area coordinates (what the printer's canvas uses).
struct TPrintArea {
  TPixelRect text;    // where the lines go
  TPixelRect header;  // from the printable top down to the text
  TPixelRect footer;  // from the text's bottom to the page's bottom
};

inline constexpr char16_t kPrintBoldMark[] = u"##$>>";
inline constexpr char kMarginsTooLarge[] =
    "PrintString: the supplied margins are too large, there is no area to print left on the page.";

// Rounds to the nearest whole number, halves to the even one.
int RoundHalfEven(double value);

// The text area for `margins` on `page`, never inside the unprintable
// border. False when the margins leave nothing to print on.
bool ComputePrintArea(const TPrinterPage& page, const TPrintMargins& margins, TPrintArea& area);

// A line to print: the bold mark removed (and `bold` set), and the text to
// measure it by: a blank line is measured as "W" so that it keeps the
// height of one line.
struct TPrintLine {
  std::u16string text;
  std::u16string measured;
  bool bold = false;
};
TPrintLine PreparePrintLine(std::u16string_view line);

struct TPlacedLine {
  size_t index = 0;
  int top = 0;
  int height = 0;
};

// The lines from `first` on that go on one page between `top` and `bottom`,
// `height(i)` being line i's wrapped height. A page ends when less than
// `minLineHeight` is left or the next line would pass the bottom; a line
// taller than a whole page is put alone on its page (and clipped there).
// Every page takes at least one line, so printing always ends.
std::vector<TPlacedLine> LayoutPage(size_t first, size_t count, int top, int bottom, int minLineHeight,
                                    const std::function<int(size_t)>& height);

// The page header: a grey rule one point thick, d/18 pixels above the band's
// bottom, and the texts' top d/10 pixels above that bottom less the text
// height (d = pixels per inch).
struct THeaderPlace {
  int ruleY = 0;
  int ruleWidth = 0;
  int textTop = 0;
};
THeaderPlace PlaceHeader(const TPixelRect& band, int ppiY, int textHeight);

// The page footer: the rule on the band's top, the page number d/18 pixels
// below it.
struct TFooterPlace {
  int ruleY = 0;
  int ruleWidth = 0;
  int textTop = 0;
};
TFooterPlace PlaceFooter(const TPixelRect& band, int ppiY);

// "Page 3".
std::u16string PageNumberText(int page);

}  // namespace vellumio
