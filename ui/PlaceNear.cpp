#include "ui/PlaceNear.h"

namespace vellumio::ui {

namespace {

constexpr int32_t kWorkAreaMargin = 5;

}  // namespace

int32_t HalfRounded(int32_t value) {
  // Integer arithmetic rather than nearbyint, which would depend on the
  // rounding mode some library left the FPU in.
  const int32_t down = value >= 0 ? value / 2 : -((-value + 1) / 2);  // floor(value / 2)
  if (value % 2 == 0) return down;
  return down % 2 == 0 ? down : down + 1;
}

TPlacePoint PlaceAnchor(TPlacePoint cursor, const std::optional<TPlaceRect>& control) {
  if (!control || control->Contains(cursor)) return cursor;
  return {control->left + HalfRounded(control->Width()),
          control->top + HalfRounded(control->Height())};
}

TPlacePoint PlaceNearPosition(TPlacePoint cursor, const std::optional<TPlaceRect>& control,
                              int32_t width, int32_t height,
                              const std::optional<TPlaceRect>& workArea) {
  const TPlacePoint anchor = PlaceAnchor(cursor, control);
  TPlacePoint corner{anchor.x - HalfRounded(width), anchor.y - HalfRounded(height)};
  if (!workArea) return corner;
  const TPlaceRect& area = *workArea;
  if (corner.x < area.left) corner.x = area.left + kWorkAreaMargin;
  if (corner.y < area.top) corner.y = area.top + kWorkAreaMargin;
  if (corner.x + width > area.right) corner.x = area.right - width - kWorkAreaMargin;
  if (corner.y + height > area.bottom) corner.y = area.bottom - height - kWorkAreaMargin;
  return corner;
}

}  // namespace vellumio::ui
