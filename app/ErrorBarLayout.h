// Where the parts of the error bar go inside the error box: the bar is
// centred in the box, its label wraps inside a 20-pixel margin, and the two
// buttons sit side by side, centred, 40 pixels above the bar's bottom.
// All measures in 96-DPI pixels; the window scales them.
#pragma once

#include <cstdint>

namespace vellumio::app {

struct TBarRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const TBarRect&, const TBarRect&) = default;
};

struct TErrorBarLayout {
  TBarRect bar;     // in the box
  TBarRect label;   // in the bar
  TBarRect first;   // in the bar: 125 x 25, wider when its caption needs it
  TBarRect second;  // in the bar: 75 x 25, likewise
};

// The label's width for a box of this width (the text is measured at it).
int32_t ErrorBarLabelWidth(int32_t boxWidth);

// `labelHeight`: the word-wrapped text's height at ErrorBarLabelWidth (the
// bar only grows beyond that width for buttons wider than the design's).
// `firstCaption`, `secondCaption`: the widths the buttons' captions need
// (a translation may be longer than the design's buttons).
TErrorBarLayout LayOutErrorBar(int32_t boxWidth, int32_t boxHeight, int32_t labelHeight,
                               int32_t firstCaption = 0, int32_t secondCaption = 0);

}  // namespace vellumio::app
