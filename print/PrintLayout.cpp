#include "print/PrintLayout.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vellumio {

int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  double result = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) result = floor + 1;
  return static_cast<int>(result);
}

bool ComputePrintArea(const TPrinterPage& page, const TPrintMargins& margins, TPrintArea& area) {
  // The margins are single-precision; the products are taken as they are.
  const auto scaled = [](int ppi, float inches) {
    return RoundHalfEven(static_cast<double>(ppi) * static_cast<double>(inches));
  };
  const int left = std::max(scaled(page.ppiX, margins.left), page.offsetX);
  const int top = std::max(scaled(page.ppiY, margins.top), page.offsetY);
  const int right =
      std::min(page.physWidth - scaled(page.ppiX, margins.right), page.pageWidth + page.offsetX);
  const int bottom =
      std::min(page.physHeight - scaled(page.ppiY, margins.bottom), page.pageHeight + page.offsetY);
  if (left >= right || top >= bottom) return false;
  area.text = {left - page.offsetX, top - page.offsetY, right - page.offsetX, bottom - page.offsetY};
  area.header = {area.text.left, 0, area.text.right, area.text.top};
  area.footer = {area.text.left, area.text.bottom, area.text.right, page.pageHeight};
  return true;
}

TPrintLine PreparePrintLine(std::u16string_view line) {
  TPrintLine result;
  const std::u16string_view mark = kPrintBoldMark;
  if (line.substr(0, mark.size()) == mark) {
    result.bold = true;
    line.remove_prefix(mark.size());
  }
  result.text = line;
  const bool blank = std::all_of(line.begin(), line.end(), [](char16_t c) { return c <= u' '; });
  result.measured = blank ? u"W" : result.text;
  return result;
}

std::vector<TPlacedLine> LayoutPage(size_t first, size_t count, int top, int bottom, int minLineHeight,
                                    const std::function<int(size_t)>& height) {
  std::vector<TPlacedLine> placed;
  int y = top;
  for (size_t i = first; i < count; ++i) {
    // An area lower than one line still takes one line per page: otherwise
    // the job would go on with empty pages for ever.
    if (!placed.empty() && bottom - y < minLineHeight) break;
    const int h = height(i);
    if (y + h > bottom && !placed.empty()) break;
    placed.push_back({i, y, h});
    y += h;
  }
  return placed;
}

THeaderPlace PlaceHeader(const TPixelRect& band, int ppiY, int textHeight) {
  return {band.bottom - ppiY / 18, RoundHalfEven(ppiY / 72.0), band.bottom - ppiY / 10 - textHeight};
}

TFooterPlace PlaceFooter(const TPixelRect& band, int ppiY) {
  return {band.top, RoundHalfEven(ppiY / 72.0), band.top + ppiY / 18};
}

std::u16string PageNumberText(int page) {
  const std::string digits = std::to_string(page);
  return u"Page " + std::u16string(digits.begin(), digits.end());
}

}  // namespace vellumio
