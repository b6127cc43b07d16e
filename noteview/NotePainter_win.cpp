#include "noteview/NotePainter_win.h"

#include <algorithm>
#include <string>

#include "noteview/NoteGlyphs_win.h"
#include "platform/Win32Text_win.h"
#include "ui/GdiHandles_win.h"
#include "ui/GlassPaint_win.h"

namespace vellumio::noteview {

namespace {

RECT ToRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void TCardPainter::Fill(HDC dc, const RECT& bounds, TColor colour) {
  if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return;
  ui::TBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &bounds, brush.Get());
}

void TCardPainter::Gradient(HDC dc, const RECT& bounds, TColor from, TColor to, bool vertical) {
  ui::FillGradient(dc, bounds, from, to, vertical);
}

void TCardPainter::GlossyFill(HDC dc, const RECT& bounds, TColor a, TColor b) const {
  ui::FillGlass(dc, bounds, a, b);
}

void TCardPainter::PaintHeaderBand(HDC dc, const RECT& bounds, const std::u16string& text) const {
  const int top = bounds.top;
  const int hh = m_.headerHeight;
  const RECT inner{bounds.left, top + 2, bounds.right, top + hh - 1};
  const TGradientSpec& spec = scheme_.DateBk;
  if (spec.glossy)
    GlossyFill(dc, inner, spec.second, spec.first);
  else
    Gradient(dc, inner, spec.first, spec.second, !spec.horizontal);
  {
    ui::TSelectGuard font(dc, fonts_.header);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, scheme_.DateFr);
    RECT textRect = inner;
    const std::wstring wide = platform::win::WideString(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  Fill(dc, RECT{bounds.left, top, bounds.right, top + 1}, scheme_.DateSep);
  Fill(dc, RECT{bounds.left, top + 1, bounds.right, top + 2}, scheme_.DateLine);
  Fill(dc, RECT{bounds.left, top + hh - 1, bounds.right, top + hh}, scheme_.DateLine);
}

void TCardPainter::PaintMarkBox(HDC dc, const TRect& box, bool on, const wchar_t* glyph) const {
  const RECT rect = ToRect(box);
  if (on)
    GlossyFill(dc, rect, RgbColor(221, 221, 221), RgbColor(255, 255, 255));
  else
    GlossyFill(dc, rect, scheme_.InfoBk1, scheme_.InfoBk0);
  DrawNoteGlyph(dc, glyph, box.left, box.top, box.Width(),
                on ? scheme_.CheckFrSel : scheme_.CheckFr, m_.dpi);
}

void TCardPainter::PaintLeftColumn(HDC dc, const RECT& b, const TLeftColumn& c) const {
  const bool sel = c.selected;
  const bool due = c.due;
  Fill(dc, RECT{b.left, b.top, b.left + m_.Px(46), b.bottom},
       BlendColour(c.odd ? scheme_.InfoBk1 : scheme_.InfoBk0, sel, due, scheme_));
  {
    ui::TSelectGuard font(dc, fonts_.label);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, BlendColour(c.odd ? scheme_.InfoFr1 : scheme_.InfoFr0, sel, due, scheme_));
    RECT label{b.left + m_.Px(2), b.top + m_.Px(2), b.left + m_.Px(44), b.bottom - m_.Px(2)};
    const std::wstring wide = platform::win::WideString(c.timeLabel);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &label,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (c.kind != TColumnKind::kPrompt) {
    PaintMarkBox(dc, ReminderBox(b.left, b.top, m_), c.reminderActive, L"BMP_BELL");
    PaintMarkBox(dc, CompletionBox(b.left, b.top, m_), c.completed, L"BMP_CHECK");
  }
  const int line = b.left + m_.Px(44);
  Fill(dc, RECT{line, b.top, line + 1, b.bottom},
       BlendColour(c.odd ? scheme_.NoteBk1 : scheme_.NoteBk0, sel, due, scheme_));
  if (sel) {
    Fill(dc, RECT{b.left + m_.Px(48), b.top + m_.Px(2), b.left + m_.Px(50), b.bottom - m_.Px(2)},
         BlendColour(scheme_.InfoBk1, false, true, scheme_));
  }
}

void TCardPainter::PaintCard(HDC dc, int width, int height, const TCardContent& card) const {
  const bool odd = (card.index % 2) != 0;
  const bool prompt = card.index == 0;
  const bool due = !prompt && card.due;
  const int gap = prompt ? m_.Px(6) : CardGap(m_, card.groupEnd);
  const int lines = prompt ? 3 : card.lines;
  const TCardGeometry g = CardGeometry(width, height, lines, gap, m_);

  const TColor text =
      prompt ? BlendColour(scheme_.NoteFrFirst, card.selected, false, scheme_)
             : BlendColour(odd ? scheme_.NoteFr1 : scheme_.NoteFr0, card.selected, due, scheme_);
  // Behind the left column the card's own colour shows through the gap
  // between the column and the card.
  Fill(dc, RECT{0, 0, width, height}, odd ? scheme_.NoteBk1 : scheme_.NoteBk0);
  Fill(dc, ToRect(g.card),
       BlendColour(odd ? scheme_.NoteBk1 : scheme_.NoteBk0, card.selected, due, scheme_));

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  RECT area = ToRect(g.textArea);
  if (!card.subject.empty()) {
    ui::TSelectGuard font(dc, fonts_.bold);
    const std::wstring wide = platform::win::WideString(card.subject);
    RECT measure = area;
    const int drawn = DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &measure,
                                DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS);
    area.top += drawn;
  }
  {
    ui::TSelectGuard font(dc, fonts_.text);
    const std::wstring wide = platform::win::WideString(card.body);
    // A word longer than the line is broken, as the edit control does.
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area,
              DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  }

  TLeftColumn column;
  column.odd = odd;
  column.kind = prompt ? TColumnKind::kPrompt : TColumnKind::kNote;
  column.completed = card.completed;
  column.due = due;
  column.reminderActive = card.reminderActive;
  column.selected = card.selected;
  column.timeLabel = card.timeLabel;
  PaintLeftColumn(dc, ToRect(g.leftColumn), column);

  if (!prompt && card.hasLinks) {
    DrawNoteGlyph(dc, L"BMP_URLA", g.textArea.right - m_.Px(17), g.textArea.bottom - m_.Px(17),
                  m_.Px(16), CLR_INVALID, m_.dpi);
  }
  if (gap == m_.Px(6)) {
    LOGBRUSH brush{BS_SOLID, RGB(192, 192, 192), 0};
    ui::TGdiObject<HPEN> pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
    ui::TSelectGuard select(dc, pen.Get());
    const int y = g.textArea.bottom + m_.Px(4);
    MoveToEx(dc, m_.Px(2), y, nullptr);
    LineTo(dc, g.textArea.right, y);
  }
  if (prompt || card.headerVisible) PaintHeaderBand(dc, RECT{0, 0, width, height}, card.headerText);
}

}  // namespace vellumio::noteview
