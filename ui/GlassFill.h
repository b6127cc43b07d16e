// The two-colour "glass" fill of the main window's header: a light upper
// third fading into the base colour, then a gradient from the base colour
// down to a lighter tone. Only the arithmetic lives here; the header paints
// the parts with GradientFill.
#pragma once

#include <array>
#include <cstdint>

namespace vellumio::ui {

// Colours are 0x00BBGGRR.
constexpr uint32_t GlassRgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// Per channel (a * (256 - w) + b * w) / 256 in integer arithmetic; w runs
// from 0 (all a) to 256 (all b).
uint32_t GlassMix(uint32_t a, uint32_t b, int32_t weight);

// One vertical gradient band: rows top (inclusive) to bottom (exclusive).
struct TGlassBand {
  int32_t top = 0;
  int32_t bottom = 0;
  uint32_t topColour = 0;
  uint32_t bottomColour = 0;
};

// The upper band is a third of the height, rounded, from mix(250) to
// mix(120); the lower band runs from a to mix(220).
std::array<TGlassBand, 2> GlassBands(int32_t top, int32_t bottom, uint32_t a, uint32_t b);

}  // namespace vellumio::ui
