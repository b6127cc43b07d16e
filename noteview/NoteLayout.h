// The geometry of the note view, kept apart from the windows so that it
// can be tested without a screen: the measures of each font size, the
// height and date-group flags of every card, the effective date grouping,
// where the editors go while a note is edited, the rectangles a card is
// painted in, the colour blending, and which zone of a card a point hits.
//
// Design measures are pixels at 96 DPI; TViewMetrics scales them for the
// monitor the view is on, so everything here takes the metrics.
#pragma once

#include <array>
#include <cstdint>

#include "ui/GlassFill.h"

namespace vellumio {
class TScheme;
}

namespace vellumio::noteview {

// Rounds to the nearest integer, an exact half to the even neighbour.
int RoundHalfEven(double value);

struct TViewMetrics {
  int dpi = 96;
  int lineHeight = 17;     // LH: one text line of a card
  int smallHeight = 10;    // SH: the small text
  int headerHeight = 22;   // HH = SH + 12: the date header band
  int subjectHeight = 22;  // the subject editor's height, SH + 12

  // A 96-DPI measure at this DPI, rounded to the nearest pixel.
  int Px(int designPixels) const;
};

// The measures of FontSize 0..5 (clamped) at `dpi`: LH = nearest((6F+40)/3),
// SH = max(9, nearest((6F+17)/3)), both scaled for the DPI before rounding,
// and HH = SH + 12 (the 12 scaled).
TViewMetrics MetricsFor(int fontSize, int dpi = 96);

// Date grouping: 0 none, 1 day, 2 month, 3 year.
enum TGroupMode : int { kGroupNone = 0, kGroupDay = 1, kGroupMonth = 2, kGroupYear = 3 };

// Whether two note dates (days since 1899-12-30, local) fall into
// different date groups.
bool DifferentGroup(double a, double b, int mode);

// The grouping the view uses: `setting` when it is 1..3; for 0 (automatic)
// the average day difference of the first notes decides. `dates` are the
// dates of notes 0, 1, ... of the list, at most the first eleven are read.
int ComputeGroupMode(int setting, const double* dates, int count);

// The date-group flags of the note at `position` (0 = top note) of `count`.
// `above` and `below` are the dates of its neighbours (ignored where there
// is none); `today` is the current date.
struct TCardFlags {
  bool headerVisible = false;
  bool groupEnd = false;
};
TCardFlags CardFlags(int position, int count, double date, double above, double below, double today,
                     int mode);

// The gap below a card: nearest(HH / 2) at a group end, else 6.
int CardGap(const TViewMetrics& m, bool groupEnd);
// Item 0, the prompt: 3 LH + HH + 6.
int PromptItemHeight(const TViewMetrics& m);
// A note card: lines * LH + (HH when a header shows) + the gap.
int CardHeight(const TViewMetrics& m, int lines, bool headerVisible, bool groupEnd);

// A rectangle by its edges; right and bottom lie outside.
struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const TRect&) const = default;
};

// Where the children of the view go for a client area of width x height.
// Not editing: the list box fills the view and the rest is empty. Editing:
// memo, subject editor (only with `hasSubject`), the list box with just the
// prompt item, and the save button.
struct TViewArrangement {
  TRect listBox, memo, subject, saveButton;
};
TViewArrangement ArrangeView(int width, int height, const TViewMetrics& m, bool editing,
                             bool hasSubject);
// The top of the edited note's area while editing: 3 LH + 2 HH.
int EditAreaTop(const TViewMetrics& m);

// The rectangles one card is painted in, inside its own bitmap of
// `width` x `height`, for `lines` text lines and a gap of `gap` pixels.
struct TCardGeometry {
  TRect textArea;    // the subject and body text
  TRect leftColumn;  // time label and mark boxes
  TRect card;        // the card background
};
TCardGeometry CardGeometry(int width, int height, int lines, int gap, const TViewMetrics& m);

// The two 13 x 13 mark boxes of a left column whose top is `top` and left
// `left` (the row sits 30 pixels below the top).
TRect ReminderBox(int left, int top, const TViewMetrics& m);
TRect CompletionBox(int left, int top, const TViewMetrics& m);

// Colours are 0x00BBGGRR. Mixes `a` into `c` with weight w of 256, per
// channel (c * (256 - w) + a * w) / 256.
uint32_t MixColour(uint32_t c, uint32_t a, int w);
// A colour of a selected or due card: the reminder colour wins over the
// focus colour; neither flag leaves it unchanged.
uint32_t BlendColour(uint32_t c, bool selected, bool due, const TScheme& scheme);

// The glossy fill of rows top..bottom from colour a to colour b: a top band
// of nearest(height / 3) rows from mix(a, b, 250) to mix(a, b, 120), then
// from a to mix(a, b, 220).
using TGradientBand = ui::TGlassBand;  // rows top..bottom, bottom exclusive
std::array<TGradientBand, 2> GlossyBands(int top, int bottom, uint32_t a, uint32_t b);

// Active zones of a card.
enum TZone : int {
  kZoneNone = -1,
  kZoneReminder = 1,
  kZoneLink = 2,
  kZoneCompletion = 3,
  kZoneNewNote = 4,
  kZoneTime = 5,
};

// What hit-testing needs to know of the point's item. While editing,
// `bounds` is the view's client rectangle with its top at EditAreaTop;
// otherwise it is the item's rectangle.
struct THitItem {
  bool editing = false;
  TRect bounds;
  bool isPrompt = false;  // item 0
  bool hasNote = false;
  bool headerVisible = false;  // item 0 counts as header-visible
  bool groupEnd = false;
  bool hasLinks = false;
  bool singleClickCreate = false;
};
int HitZone(const THitItem& item, int x, int y, const TViewMetrics& m);

}  // namespace vellumio::noteview
