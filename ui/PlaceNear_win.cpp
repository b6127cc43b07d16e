#include "ui/PlaceNear_win.h"

#include <optional>

#include "ui/Form_win.h"
#include "ui/PlaceNear.h"

namespace vellumio::ui {

namespace {

TPlaceRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::optional<TPlaceRect> MainWorkArea() {
  const HWND main = MainWindow();
  if (!main || !IsWindow(main)) return std::nullopt;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &info))
    return std::nullopt;
  return FromRect(info.rcWork);
}

}  // namespace

void PlaceNear(HWND form, HWND control) {
  POINT cursor{};
  GetCursorPos(&cursor);
  std::optional<TPlaceRect> controlRect;
  RECT r{};
  if (control && GetWindowRect(control, &r)) controlRect = FromRect(r);
  RECT bounds{};
  GetWindowRect(form, &bounds);
  const TPlacePoint corner =
      PlaceNearPosition({cursor.x, cursor.y}, controlRect, bounds.right - bounds.left,
                        bounds.bottom - bounds.top, MainWorkArea());
  SetWindowPos(form, nullptr, corner.x, corner.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

}  // namespace vellumio::ui
