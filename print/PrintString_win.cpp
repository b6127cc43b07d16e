#include "print/PrintString_win.h"

#include <algorithm>
#include <stdexcept>

#include "print/PrintSettings.h"

namespace vellumio {
namespace {

constexpr COLORREF kGrey = 0x808080;

const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A font of `points` at the printer's vertical resolution.
HFONT MakeFont(HDC dc, const wchar_t* face, int points, bool bold) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

// Selects a font for as long as it lives and frees it afterwards.
class TSelectedFont {
public:
  TSelectedFont(HDC dc, HFONT font) : dc_(dc), font_(font), old_(SelectObject(dc, font)) {}
  ~TSelectedFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  TSelectedFont(const TSelectedFont&) = delete;
  TSelectedFont& operator=(const TSelectedFont&) = delete;

private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

void GreyRule(HDC dc, const RECT& band, int y, int width) {
  HPEN pen = CreatePen(PS_SOLID, width, kGrey);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, band.left, y, nullptr);
  LineTo(dc, band.right, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

TPixelRect ToPixels(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const TPixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

std::wstring SystemDateTime() {
  wchar_t date[128] = {}, time[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
  return std::wstring(date) + L" " + time;
}

TPrinterPage PageOf(HDC dc) {
  TPrinterPage page;
  page.ppiX = GetDeviceCaps(dc, LOGPIXELSX);
  page.ppiY = GetDeviceCaps(dc, LOGPIXELSY);
  page.offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  page.offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  page.physWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
  page.physHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
  page.pageWidth = GetDeviceCaps(dc, HORZRES);
  page.pageHeight = GetDeviceCaps(dc, VERTRES);
  return page;
}

int TextHeight(HDC dc, const wchar_t* text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  return size.cy;
}

constexpr UINT kWrap = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

int MeasureLine(HDC dc, const std::u16string& text, const TPixelRect& area) {
  RECT r{area.left, 0, area.right, 0};
  DrawTextW(dc, W(text), -1, &r, kWrap | DT_CALCRECT);
  return r.bottom - r.top;
}

// One page of lines from `next` on; returns the index after the last.
size_t PrintPage(HDC dc, const std::vector<TPrintLine>& lines, size_t next, const TPixelRect& area,
                 int minLineHeight, HFONT normal, HFONT bold) {
  const auto height = [&](size_t i) {
    SelectObject(dc, lines[i].bold ? bold : normal);
    return MeasureLine(dc, lines[i].measured, area);
  };
  const auto placed = LayoutPage(next, lines.size(), area.top, area.bottom, minLineHeight, height);
  for (const TPlacedLine& line : placed) {
    SelectObject(dc, lines[line.index].bold ? bold : normal);
    // A paragraph taller than the page is clipped at the area's bottom.
    RECT r{area.left, line.top, area.right, std::min(line.top + line.height, area.bottom)};
    DrawTextW(dc, W(lines[line.index].text), -1, &r, kWrap);
  }
  SelectObject(dc, normal);
  return placed.empty() ? lines.size() : placed.back().index + 1;
}

void Check(int result, const char* what) {
  if (result <= 0) throw std::runtime_error(std::string("Printer error: ") + what);
}

}  // namespace

std::vector<std::u16string> SplitPrintLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::u16string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines.push_back(line);
      line.clear();
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      line += c;
    }
  }
  lines.push_back(line);
  return lines;
}

int PrintString(HDC printer, const std::vector<std::u16string>& lines, const TPrintFont& font,
                bool preview, const TPrintMargins& margins, const TPageDecorator& header,
                const TPageDecorator& footer) {
  if (!printer) throw std::runtime_error("PrintString: no printer");
  DOCINFOW doc{};
  doc.cbSize = sizeof(doc);
  doc.lpszDocName = L"Note";
  Check(StartDocW(printer, &doc), "the print job could not be started");
  // From here on every way out that does not end the document aborts it.
  bool continuePrinting = true;
  int page = 1;
  try {
    TPrintArea area;
    if (!ComputePrintArea(PageOf(printer), margins, area)) throw std::runtime_error(kMarginsTooLarge);
    std::vector<TPrintLine> prepared;
    prepared.reserve(lines.size());
    for (const std::u16string& line : lines) prepared.push_back(PreparePrintLine(line));
    HFONT normal = MakeFont(printer, font.face.c_str(), font.points, false);
    TSelectedFont keepNormal(printer, normal);
    HFONT bold = MakeFont(printer, font.face.c_str(), font.points, true);
    TSelectedFont keepBold(printer, bold);
    SelectObject(printer, normal);
    SetTextColor(printer, RGB(0, 0, 0));
    SetBkMode(printer, TRANSPARENT);
    const int minLineHeight = TextHeight(printer, L"Ay");
    size_t next = 0;
    Check(StartPage(printer), "the page could not be started");
    while (true) {
      if (header) header(printer, page, continuePrinting, ToRect(area.header));
      SelectObject(printer, normal);
      SetTextColor(printer, RGB(0, 0, 0));
      if (continuePrinting)
        next = PrintPage(printer, prepared, next, area.text, minLineHeight, normal, bold);
      if (footer) footer(printer, page, continuePrinting, ToRect(area.footer));
      SelectObject(printer, normal);
      SetTextColor(printer, RGB(0, 0, 0));
      Check(EndPage(printer), "the page could not be finished");
      if (next >= prepared.size() || !continuePrinting) break;
      ++page;
      Check(StartPage(printer), "the page could not be started");
    }
  } catch (...) {
    AbortDoc(printer);
    throw;
  }
  if (continuePrinting && !preview) {
    Check(EndDoc(printer), "the print job could not be finished");
    return page;
  }
  AbortDoc(printer);
  return continuePrinting ? page : 0;
}

int PrintNotesText(HDC printer, const std::u16string& text, const TPrintSettings& settings) {
  return PrintString(printer, SplitPrintLines(text), {L"Times", settings.FontSize}, false,
                     settings.Margins(), DrawPageHeader, DrawPageFooter);
}

void DrawPageHeader(HDC dc, int, bool&, const RECT& band) {
  const int d = GetDeviceCaps(dc, LOGPIXELSY);
  HFONT font = MakeFont(dc, L"Arial", 8, false);
  TSelectedFont keep(dc, font);
  const THeaderPlace place = PlaceHeader(ToPixels(band), d, TextHeight(dc, L"W"));
  GreyRule(dc, band, place.ruleY, place.ruleWidth);
  SetTextColor(dc, kGrey);
  SetBkMode(dc, TRANSPARENT);
  const wchar_t* product = L"Vellumio 2.2";
  TextOutW(dc, band.left, place.textTop, product, lstrlenW(product));
  const std::wstring stamp = L"[" + SystemDateTime() + L"]";
  RECT r{band.left, place.textTop, band.right, band.bottom};
  DrawTextW(dc, stamp.c_str(), -1, &r, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

void DrawPageFooter(HDC dc, int page, bool&, const RECT& band) {
  const int d = GetDeviceCaps(dc, LOGPIXELSY);
  HFONT font = MakeFont(dc, L"Arial", 8, false);
  TSelectedFont keep(dc, font);
  const TFooterPlace place = PlaceFooter(ToPixels(band), d);
  GreyRule(dc, band, place.ruleY, place.ruleWidth);
  SetTextColor(dc, kGrey);
  SetBkMode(dc, TRANSPARENT);
  const std::u16string text = PageNumberText(page);
  RECT r{band.left, place.textTop, band.right, band.bottom};
  DrawTextW(dc, W(text), -1, &r, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

}  // namespace vellumio
