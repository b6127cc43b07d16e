// The header bar of the main window (AllHeaderPan): an orange glass strip
// with the program's title, the menu button at the left and the search,
// pin and minimise buttons at the right. Dragging the header moves the
// main window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "ui/FlatButton_win.h"
#include "ui/GdiHandles_win.h"
#include "ui/Window_win.h"

namespace vellumio::app {

class THeaderBar : public ui::TWindow {
public:
  // A child of `parent` (the main window), laid out by SetBounds.
  THeaderBar(HWND parent, HINSTANCE instance);

  // 23 pixels at 96 DPI.
  static int HeightForDpi(int dpi);
  int Height() const { return HeightForDpi(dpi_); }
  int Dpi() const { return dpi_; }
  // After WM_DPICHANGED: new font, glyphs and button sizes.
  void SetDpi(int dpi);

  // Places the header at (x, y) with the given width and Height().
  void SetBounds(int x, int y, int width);

  // Pinned: the pin strip is lit and bTop shows BMP_PINA, else BMP_PINB.
  void SetPinned(bool pinned);
  bool Pinned() const { return pinned_; }
  // The search panel is open: the strip behind bSearch is lit.
  void SetSearchShown(bool shown);
  bool SearchShown() const { return searchShown_; }

  bool Dragging() const { return dragging_; }
  POINT DragStart() const { return dragStart_; }

  ui::TFlatButton& MenuBut() { return *menuBut_; }
  ui::TFlatButton& bSearch() { return *bSearch_; }
  ui::TFlatButton& bTop() { return *bTop_; }
  ui::TFlatButton& bMin() { return *bMin_; }

  std::function<void()> OnMenuClick;
  std::function<void()> OnSearchClick;
  std::function<void()> OnPinClick;
  std::function<void()> OnMinimizeClick;
  // Every pointer move over the header (the main window resets its hide
  // countdown).
  std::function<void()> OnPointerMoved;

  // Paints the whole header (glass, lit strips, title) for a client area of
  // the given size; the buttons paint their part of it behind their glyphs.
  void PaintHeader(HDC dc, const RECT& client) const;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  std::unique_ptr<ui::TFlatButton> MakeButton(std::function<void()> THeaderBar::*callback);
  void LoadGlyphs();
  void LoadPinGlyph();
  void CreateTitleFont();
  void Layout();
  void Paint();
  void LeftButtonDown(POINT p);
  void MouseMove(POINT p);

  HINSTANCE instance_;
  int dpi_ = 96;
  bool pinned_ = false;
  bool searchShown_ = false;
  bool dragging_ = false;
  POINT dragStart_{};
  ui::TFont titleFont_;
  std::unique_ptr<ui::TFlatButton> menuBut_;
  std::unique_ptr<ui::TFlatButton> bSearch_;
  std::unique_ptr<ui::TFlatButton> bTop_;
  std::unique_ptr<ui::TFlatButton> bMin_;
};

}  // namespace vellumio::app
