// Small pictures beside the items of a popup menu, drawn by the menu's
// owner window on WM_MEASUREITEM and WM_DRAWITEM. A 32-bit bitmap handed
// to the menu itself would need an alpha channel that not every system
// blends (it shows as a black square), so the items are marked
// HBMMENU_CALLBACK and the owner passes the two messages on to Measure and
// Draw. The pictures are glyph resources (see LoadGlyphBitmap) on white,
// white being transparent; they are 16 pixels at 96 DPI.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/GdiHandles_win.h"

namespace vellumio::ui {

// The name of a key as the keyboard layout calls it ("Ctrl", "Strg"),
// written as menus show it; `fallback` when the layout has none.
std::wstring KeyName(UINT virtualKey, const wchar_t* fallback);

class TMenuPictures {
public:
  // The glyphs come from the resources of `instance`, for `dpi`.
  explicit TMenuPictures(HINSTANCE instance = nullptr, int dpi = 96)
      : instance_(instance), dpi_(dpi) {}

  // Gives the item `commandId` of `menu` the glyph resource `glyph`. Again
  // for an id it already knows: the item is marked once more (an item
  // changed by ModifyMenu keeps its picture) and the glyph is replaced.
  // An item whose glyph is missing gets no picture.
  void Set(HMENU menu, UINT commandId, const wchar_t* glyph);
  // Loads every glyph again for a new DPI.
  void SetDpi(int dpi);

  // Answer the owner's WM_MEASUREITEM / WM_DRAWITEM: true when the item is
  // one of these pictures and has been measured or drawn.
  bool Measure(MEASUREITEMSTRUCT& measure) const;
  bool Draw(const DRAWITEMSTRUCT& draw) const;

private:
  static void DrawGreyed(HDC target, int x, int y, int size, HDC glyph, int width, int height);
  struct TPicture {
    UINT id;
    std::wstring glyph;
    TBitmap bitmap;
  };
  const TPicture* Find(UINT id) const;
  int Size() const { return MulDiv(16, dpi_, 96); }

  HINSTANCE instance_;
  int dpi_;
  std::vector<TPicture> pictures_;
};

}  // namespace vellumio::ui
