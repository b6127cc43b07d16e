// The paginating print routine and the page header and footer of note
// printing, on a printer device context.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "print/PrintLayout.h"

namespace vellumio {

// Draws in `band` of page `page`; may clear `continuePrinting` to stop the
// job after this page (the job is then aborted).
using TPageDecorator =
    std::function<void(HDC dc, int page, bool& continuePrinting, const RECT& band)>;

// The text font: face, size in points, colour black.
struct TPrintFont {
  std::wstring face = L"Times";
  int points = 8;
};

// Prints `lines` as one job titled "Note" on `printer`; lines beginning
// with the bold mark print bold without it. Margins in inches. Returns the
// pages printed, or 0 when a decorator stopped the job. Throws
// std::runtime_error when the job cannot start, the margins leave no area
// (kMarginsTooLarge) or the printer fails; a started job is always aborted
// then, so that the next print works.
int PrintString(HDC printer, const std::vector<std::u16string>& lines, const TPrintFont& font,
                bool preview, const TPrintMargins& margins, const TPageDecorator& header,
                const TPageDecorator& footer);

// "Vellumio 2.2" and the bracketed date and time over a grey rule.
void DrawPageHeader(HDC dc, int page, bool& continuePrinting, const RECT& band);
// "Page N" under a grey rule.
void DrawPageFooter(HDC dc, int page, bool& continuePrinting, const RECT& band);

// Notes as the program prints them: `text` (the notes' print lines) in
// "Times" at the settings' size and margins, with the page header and
// footer. Throws as PrintString does.
class TPrintSettings;
int PrintNotesText(HDC printer, const std::u16string& text, const TPrintSettings& settings);

// The lines of a text, split at CR LF, CR or LF.
std::vector<std::u16string> SplitPrintLines(const std::u16string& text);

}  // namespace vellumio
