// The dock line (TfCForm): the thin window in the 3-pixel gap between the
// docked main window and the screen edge. It stays on screen while the main
// window is hidden; touching it brings the main window back.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/Window_win.h"

namespace vellumio::app {

class TfCForm : public ui::TWindow {
public:
  // Created hidden, 5 x 5 pixels at the origin, without owner.
  explicit TfCForm(HINSTANCE instance);

  // The main window's reactions; each is called on the main thread from the
  // line's window procedure.
  std::function<void(POINT)> OnMouseMove;  // only when the position changed
  std::function<void()> OnLeftButtonUp;
  std::function<void(WPARAM, LPARAM)> OnDeactivate;  // the WM_ACTIVATE arguments

  void SetBounds(int x, int y, int width, int height);

  // Shows the line without activating it, lets pending messages through and
  // raises it into the topmost band.
  void ShowNoActivate();
  void Hide();
  bool Visible() const { return IsWindowVisible(Handle()) != FALSE; }
  // Into the topmost band without moving, sizing or activating.
  void RaiseTopmost();

  // Blue while the main window decides whether the pointer means it.
  void SetDeciding(bool deciding);
  bool Deciding() const { return deciding_; }
  // The colour outside of the deciding pause (red unless changed).
  void SetLineColour(COLORREF colour);

  // Transparent: a layered window with the constant alpha of the percentage;
  // otherwise opaque and not layered.
  void SetTransparency(bool transparent, int percent);

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void Paint();
  void MouseMoved(LPARAM lParam);

  COLORREF lineColour_ = RGB(255, 0, 0);
  bool deciding_ = false;
  bool seenPointer_ = false;
  POINT lastPointer_{};
};

}  // namespace vellumio::app
