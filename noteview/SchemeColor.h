// Colour values of the scheme files: "#RRGGBB", a basic colour name or a
// name of the user's desktop colours; anything else is the value none,
// which the drawing code passes on unchanged.
#pragma once

#include <cstdint>
#include <string_view>

namespace vellumio {

// 0x00BBGGRR, as GDI takes colours.
using TColor = uint32_t;

constexpr TColor kColorNone = 0x1FFFFFFF;

constexpr TColor RgbColor(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}

// Blanks around the value are ignored, names compared without regard to
// case. Never fails: an unknown name or a malformed "#" value gives none.
TColor ParseSchemeColor(std::u16string_view text);

// The header band's fill: "first:second:orientation:style". A missing
// second colour repeats the first; orientation is horizontal unless given
// as anything but "H"; the style is glossy unless given as "G".
struct TGradientSpec {
  TColor first = kColorNone;
  TColor second = kColorNone;
  bool horizontal = true;
  bool glossy = true;

  bool operator==(const TGradientSpec&) const = default;
};

TGradientSpec ParseGradientSpec(std::u16string_view text);

}  // namespace vellumio
