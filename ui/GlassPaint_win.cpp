#include "ui/GlassPaint_win.h"

#include "ui/GlassFill.h"

namespace vellumio::ui {

namespace {

TRIVERTEX Vertex(LONG x, LONG y, uint32_t colour) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>((colour & 0xFF) << 8);
  v.Green = static_cast<COLOR16>(((colour >> 8) & 0xFF) << 8);
  v.Blue = static_cast<COLOR16>(((colour >> 16) & 0xFF) << 8);
  return v;
}

}  // namespace

void FillGradient(HDC dc, const RECT& r, uint32_t from, uint32_t to, bool vertical) {
  if (r.bottom <= r.top || r.right <= r.left) return;
  TRIVERTEX v[2] = {Vertex(r.left, r.top, from), Vertex(r.right, r.bottom, to)};
  GRADIENT_RECT rect{0, 1};
  if (!GradientFill(dc, v, 2, &rect, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H)) {
    SetDCBrushColor(dc, from);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
}

void FillGlass(HDC dc, const RECT& r, uint32_t a, uint32_t b) {
  for (const TGlassBand& band : GlassBands(r.top, r.bottom, a, b)) {
    FillGradient(dc, RECT{r.left, band.top, r.right, band.bottom}, band.topColour,
                 band.bottomColour, true);
  }
}

}  // namespace vellumio::ui
