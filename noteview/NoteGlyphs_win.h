// The small two-colour glyphs of the note cards (bell, check mark, link
// arrow, the save button's tick). Each is a 1-bit bitmap resource whose
// palette entry 0 marks the glyph; the view draws that shape in whatever
// colour the scheme asks and leaves the rest untouched. Bitmaps are loaded
// once per name and size and kept for the program's lifetime.
#pragma once

#include <windows.h>

namespace vellumio::noteview {

// Draws the glyph `name` ("BMP_BELL") with its top-left corner at (x, y),
// `size` pixels square (the variant drawn for the nearest scale is
// stretched when it differs). `colour` CLR_INVALID draws the glyph in the
// colour its own palette gives. False when the resource is missing.
bool DrawNoteGlyph(HDC dc, const wchar_t* name, int x, int y, int size, COLORREF colour, int dpi);

// The glyph as a 24-bit bitmap of `size` pixels in `colour` on white (the
// transparent colour of the flat buttons); the caller owns it.
HBITMAP MakeButtonGlyph(const wchar_t* name, int size, COLORREF colour, int dpi);

}  // namespace vellumio::noteview
