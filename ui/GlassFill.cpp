#include "ui/GlassFill.h"

namespace vellumio::ui {

uint32_t GlassMix(uint32_t a, uint32_t b, int32_t weight) {
  uint32_t mixed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int32_t ca = static_cast<int32_t>((a >> shift) & 0xFF);
    const int32_t cb = static_cast<int32_t>((b >> shift) & 0xFF);
    const int32_t c = (ca * (256 - weight) + cb * weight) / 256;
    mixed |= static_cast<uint32_t>(c & 0xFF) << shift;
  }
  return mixed;
}

std::array<TGlassBand, 2> GlassBands(int32_t top, int32_t bottom, uint32_t a, uint32_t b) {
  const int32_t height = bottom - top;
  // A third is never exactly half-way between two whole numbers, so plain
  // rounding to the nearest is unambiguous.
  const int32_t upper = height > 0 ? (height + 1) / 3 : 0;
  const TGlassBand highlight{top, top + upper, GlassMix(a, b, 250), GlassMix(a, b, 120)};
  const TGlassBand body{top + upper, bottom, a, GlassMix(a, b, 220)};
  return {highlight, body};
}

}  // namespace vellumio::ui
