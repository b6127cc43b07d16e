// The application's own top-level window. It stays hidden and off screen:
// the main window is owned by it, so the program has no taskbar button of
// its own, except while a modal dialog is open, when this window is shown
// (without activation) to carry the dialog's taskbar button.
#pragma once

#include <windows.h>

#include "ui/Window_win.h"

namespace vellumio::app {

class TApplicationWindow final : public ui::TWindow {
public:
  explicit TApplicationWindow(HINSTANCE instance);

  void ShowNoActivate();
  void Hide();
  // Moves it to (0, -2000), 0 x 0, at the bottom of the z-order.
  void PutAway();
  bool Visible() const { return IsWindowVisible(Handle()) != FALSE; }

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace vellumio::app
