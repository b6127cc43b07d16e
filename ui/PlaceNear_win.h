// Puts a dialog near the control it was opened from (ui/PlaceNear.h),
// with the real pointer, the control's screen rectangle and the work area
// of the monitor that shows the main window.
#pragma once

#include <windows.h>

namespace vellumio::ui {

// `control` may be null: the dialog is centred on the pointer. The dialog
// keeps its size.
void PlaceNear(HWND form, HWND control);

}  // namespace vellumio::ui
