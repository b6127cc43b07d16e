// Where a dialog goes when it is opened from a control: around the mouse
// pointer when the pointer is on the control (the user just clicked it),
// else around the control's centre, and always inside the work area of the
// monitor that shows the main window, 5 pixels clear of its edges.
//
// The arithmetic is kept apart from the windows so that it can be tested
// without a screen; PlaceNear_win.h feeds it the real rectangles.
#pragma once

#include <cstdint>
#include <optional>

namespace vellumio::ui {

struct TPlacePoint {
  int32_t x = 0;
  int32_t y = 0;
};

// A rectangle by its edges, as the system reports window and work areas.
struct TPlaceRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  // The right and bottom edges lie outside, as with the system's rectangles.
  bool Contains(TPlacePoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
};

// Half of `value` to the nearest integer; an exact half (odd values) goes
// to the even neighbour, the default rounding of floating-point numbers:
// 75 gives 38, 77 gives 38, -5 gives -2.
int32_t HalfRounded(int32_t value);

// The point the dialog is centred on: the cursor, unless a control is given
// and the cursor is outside it, in which case the control's centre.
TPlacePoint PlaceAnchor(TPlacePoint cursor, const std::optional<TPlaceRect>& control);

// The new top-left corner of a dialog of `width` x `height`. Without a work
// area (no main window) the dialog is only centred on the anchor. The four
// corrections run in a fixed order, so a dialog larger than the work area
// ends up with its right and bottom edges inside and its left and top
// edges outside.
TPlacePoint PlaceNearPosition(TPlacePoint cursor, const std::optional<TPlaceRect>& control,
                              int32_t width, int32_t height,
                              const std::optional<TPlaceRect>& workArea);

}  // namespace vellumio::ui
