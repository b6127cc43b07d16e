#include "noteview/SchemeSysColor.h"

namespace vellumio {

namespace {

// The "Windows Classic" desktop colours, in system colour index order.
constexpr TColor kClassic[kSchemeSysColorCount] = {
    RgbColor(212, 208, 200),  // ScrollBar
    RgbColor(58, 110, 165),   // Background
    RgbColor(10, 36, 106),    // ActiveCaption
    RgbColor(128, 128, 128),  // InactiveCaption
    RgbColor(212, 208, 200),  // Menu
    RgbColor(255, 255, 255),  // Window
    RgbColor(0, 0, 0),        // WindowFrame
    RgbColor(0, 0, 0),        // MenuText
    RgbColor(0, 0, 0),        // WindowText
    RgbColor(255, 255, 255),  // CaptionText
    RgbColor(212, 208, 200),  // ActiveBorder
    RgbColor(212, 208, 200),  // InactiveBorder
    RgbColor(128, 128, 128),  // AppWorkSpace
    RgbColor(10, 36, 106),    // Highlight
    RgbColor(255, 255, 255),  // HighlightText
    RgbColor(212, 208, 200),  // BtnFace
    RgbColor(128, 128, 128),  // BtnShadow
    RgbColor(128, 128, 128),  // GrayText
    RgbColor(0, 0, 0),        // BtnText
    RgbColor(212, 208, 200),  // InactiveCaptionText
    RgbColor(255, 255, 255),  // BtnHighlight
    RgbColor(64, 64, 64),     // 3DDkShadow
    RgbColor(212, 208, 200),  // 3DLight
    RgbColor(0, 0, 0),        // InfoText
    RgbColor(255, 255, 225),  // InfoBk
};

}  // namespace

TColor SchemeSysColor(int index) {
  if (index < 0 || index >= kSchemeSysColorCount) return kColorNone;
  return kClassic[index];
}

}  // namespace vellumio
