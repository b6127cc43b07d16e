// Paints the parts of a note card with GDI: the card itself, its left
// column with the time label and the mark boxes, and the date header band.
// The view gives it the scheme, the measures and the fonts it caches; the
// painter creates nothing per card but the few brushes of the fills.
#pragma once

#include <windows.h>

#include <string>

#include "noteview/NoteLayout.h"
#include "noteview/Scheme.h"

namespace vellumio::noteview {

// The fonts of one view at one size: the card text in normal and bold, the
// time label and the header text.
struct TCardFonts {
  HFONT text = nullptr;
  HFONT bold = nullptr;
  HFONT label = nullptr;
  HFONT header = nullptr;
};

enum class TColumnKind { kNote, kPrompt, kEditedNote };

// Everything one card shows.
struct TCardContent {
  int index = 0;  // item index: 0 is the prompt
  int lines = 3;
  bool headerVisible = false;
  bool groupEnd = false;
  bool selected = false;
  bool due = false;
  bool completed = false;
  bool reminderActive = false;
  bool hasLinks = false;
  std::u16string subject;  // empty: none
  std::u16string body;
  std::u16string timeLabel;
  std::u16string headerText;
};

struct TLeftColumn {
  bool odd = false;
  TColumnKind kind = TColumnKind::kNote;
  bool completed = false;
  bool due = false;
  bool reminderActive = false;
  bool selected = false;
  std::u16string timeLabel;
};

class TCardPainter {
public:
  TCardPainter(const TScheme& scheme, const TViewMetrics& metrics, const TCardFonts& fonts)
      : scheme_(scheme), m_(metrics), fonts_(fonts) {}

  // One card into a bitmap of `width` x `height` (0, 0 at its corner).
  void PaintCard(HDC dc, int width, int height, const TCardContent& card) const;
  void PaintLeftColumn(HDC dc, const RECT& bounds, const TLeftColumn& column) const;
  // The header band along the top of `bounds`, HH high.
  void PaintHeaderBand(HDC dc, const RECT& bounds, const std::u16string& text) const;
  void GlossyFill(HDC dc, const RECT& bounds, TColor a, TColor b) const;

  static void Fill(HDC dc, const RECT& bounds, TColor colour);
  static void Gradient(HDC dc, const RECT& bounds, TColor from, TColor to, bool vertical);

private:
  void PaintMarkBox(HDC dc, const TRect& box, bool on, const wchar_t* glyph) const;

  const TScheme& scheme_;
  TViewMetrics m_;
  TCardFonts fonts_;
};

}  // namespace vellumio::noteview
