#include "noteview/NoteLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/DateTime.h"
#include "noteview/Scheme.h"

namespace vellumio::noteview {

namespace {

// numerator / denominator (denominator > 0) to the nearest integer, a half
// to even. Measures are ratios of small integers, so they are rounded
// exactly here: a double such as 70 / 3 * 1.5 may land a hair off a half.
int RoundRatio(int64_t numerator, int64_t denominator) {
  int64_t quotient = numerator / denominator;
  int64_t remainder = numerator % denominator;
  if (remainder < 0) {  // make it the floor
    --quotient;
    remainder += denominator;
  }
  const int64_t twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && (quotient & 1) != 0)) ++quotient;
  return static_cast<int>(quotient);
}

// Whole days of a date; NaN and absurd values of a damaged record are held
// to a range where the conversion stays defined.
int64_t DayOf(double date) {
  if (std::isnan(date)) return 0;
  return static_cast<int64_t>(std::floor(std::clamp(date, -1e9, 1e9)));
}

}  // namespace

int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  double result = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) result += 1;
  return static_cast<int>(result);
}

int TViewMetrics::Px(int designPixels) const {
  return RoundRatio(static_cast<int64_t>(designPixels) * dpi, 96);
}

TViewMetrics MetricsFor(int fontSize, int dpi) {
  const int f = std::clamp(fontSize, 0, 5);
  TViewMetrics m;
  m.dpi = dpi;
  // (6F + 40) / 3 * dpi / 96, rounded once, after scaling.
  m.lineHeight = RoundRatio(static_cast<int64_t>(6 * f + 40) * dpi, 3 * 96);
  m.smallHeight = std::max(m.Px(9), RoundRatio(static_cast<int64_t>(6 * f + 17) * dpi, 3 * 96));
  m.headerHeight = m.smallHeight + m.Px(12);
  m.subjectHeight = m.smallHeight + m.Px(12);
  return m;
}

bool DifferentGroup(double a, double b, int mode) {
  switch (mode) {
    case kGroupDay:
      return DayOf(a) != DayOf(b);
    case kGroupMonth: {
      // The year counts too: comparing the month number alone would put
      // January of two different years into one group.
      const DateParts pa = DecodeDate(a), pb = DecodeDate(b);
      return pa.year != pb.year || pa.month != pb.month;
    }
    case kGroupYear:
      return DecodeDate(a).year != DecodeDate(b).year;
    default:
      return false;
  }
}

int ComputeGroupMode(int setting, const double* dates, int count) {
  if (setting >= kGroupDay && setting <= kGroupYear) return setting;
  // Notes are newest first: the gap between a note and the one below it is
  // normally zero or more days. A dozen notes are enough to judge the pace.
  int64_t sum = 0;
  int gaps = 0;
  for (int i = std::min(count - 1, 10) - 1; i >= 0; --i) {
    sum += DayOf(dates[i]) - DayOf(dates[i + 1]);
    ++gaps;
  }
  const int average = gaps == 0 ? 3 : RoundRatio(sum, gaps);
  if (average < 0) return kGroupNone;
  if (average < 30) return kGroupDay;
  if (average < 350) return kGroupMonth;
  return kGroupYear;
}

TCardFlags CardFlags(int position, int count, double date, double above, double below, double today,
                     int mode) {
  TCardFlags flags;
  // The top note shows its date unless it was written today, whatever the
  // grouping: the prompt above it stands for today.
  flags.headerVisible =
      position == 0 ? DayOf(date) != DayOf(today) : DifferentGroup(date, above, mode);
  flags.groupEnd = position > 0 && position < count - 1 && DifferentGroup(date, below, mode);
  return flags;
}

int CardGap(const TViewMetrics& m, bool groupEnd) {
  return groupEnd ? RoundRatio(m.headerHeight, 2) : m.Px(6);
}

int PromptItemHeight(const TViewMetrics& m) { return 3 * m.lineHeight + m.headerHeight + m.Px(6); }

int CardHeight(const TViewMetrics& m, int lines, bool headerVisible, bool groupEnd) {
  return lines * m.lineHeight + (headerVisible ? m.headerHeight : 0) + CardGap(m, groupEnd);
}

int EditAreaTop(const TViewMetrics& m) { return 3 * m.lineHeight + 2 * m.headerHeight; }

namespace {
TRect RectBySize(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
}  // namespace

TViewArrangement ArrangeView(int width, int height, const TViewMetrics& m, bool editing,
                             bool hasSubject) {
  TViewArrangement a;
  if (!editing) {
    a.listBox = {0, 0, width, height};
    return a;
  }
  const int s = hasSubject ? m.subjectHeight + m.Px(1) : 0;
  const int y = EditAreaTop(m);
  a.memo = RectBySize(m.Px(50), y + s, width - m.Px(50), height - y - s);
  if (hasSubject) a.subject = RectBySize(m.Px(53), y + m.Px(2), width - m.Px(56), s - m.Px(5));
  // Only the prompt item stays visible above the edited note.
  a.listBox = RectBySize(0, 0, width, 3 * m.lineHeight + m.headerHeight);
  a.saveButton = RectBySize(m.Px(6), height - m.Px(30), m.Px(32), m.Px(22));
  return a;
}

TCardGeometry CardGeometry(int width, int height, int lines, int gap, const TViewMetrics& m) {
  const int textTop = height - lines * m.lineHeight - gap;
  TCardGeometry g;
  g.textArea = {m.Px(54), textTop, width - m.Px(2), height - gap};
  g.leftColumn = {0, textTop, m.Px(50), height};
  g.card = {m.Px(47), 0, width, height};
  return g;
}

TRect ReminderBox(int left, int top, const TViewMetrics& m) {
  const int y = top + m.Px(30);
  return {left + m.Px(7), y, left + m.Px(20), y + m.Px(13)};
}

TRect CompletionBox(int left, int top, const TViewMetrics& m) {
  const int y = top + m.Px(30);
  return {left + m.Px(23), y, left + m.Px(36), y + m.Px(13)};
}

uint32_t MixColour(uint32_t c, uint32_t a, int w) {
  // A scheme file may give any weight; outside 0..256 a channel would
  // overflow into its neighbour.
  return ui::GlassMix(c, a, std::clamp(w, 0, 256));
}

uint32_t BlendColour(uint32_t c, bool selected, bool due, const TScheme& scheme) {
  if (due) return MixColour(c, scheme.ReminderColor, scheme.ReminderAlpha);
  if (selected) return MixColour(c, scheme.FocusedColor, scheme.FocusedAlpha);
  return c;
}

std::array<TGradientBand, 2> GlossyBands(int top, int bottom, uint32_t a, uint32_t b) {
  return ui::GlassBands(top, bottom, a, b);
}

int HitZone(const THitItem& item, int x, int y, const TViewMetrics& m) {
  const TRect& r = item.bounds;
  // The row of the mark boxes; the time label sits in the 30 pixels above.
  const int y0 = item.editing ? r.top + m.Px(29)
                              : r.top + m.Px(30) + (item.headerVisible ? m.headerHeight : 0);
  auto within = [](int v, int low, int high) { return low < v && v < high; };

  int zone = kZoneNone;
  if (item.isPrompt && item.singleClickCreate) zone = kZoneNewNote;
  if (item.hasNote) {
    if (within(y, y0 - m.Px(30), y0 - m.Px(15)) && within(x, r.left + m.Px(6), r.left + m.Px(37)))
      zone = kZoneTime;
    if (within(y, y0, y0 + m.Px(15))) {
      if (within(x, r.left + m.Px(6), r.left + m.Px(21))) zone = kZoneReminder;
      if (within(x, r.left + m.Px(22), r.left + m.Px(37))) zone = kZoneCompletion;
    }
  }
  if (!item.editing && item.hasLinks) {
    const int gap = CardGap(m, item.groupEnd);
    if (within(y, r.bottom - m.Px(18) - gap, r.bottom - gap) &&
        within(x, r.right - m.Px(18), r.right))
      zone = kZoneLink;
  }
  return zone;
}

}  // namespace vellumio::noteview
