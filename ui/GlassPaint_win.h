// Gradient fills with GDI: a plain two-colour gradient and the glass fill
// of ui/GlassFill.h (a light upper third over a gradient), as the header
// bar, the note cards and their mark boxes paint them.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vellumio::ui {

// Colours are 0x00BBGGRR. Where the system draws no gradients the
// rectangle takes the first colour.
void FillGradient(HDC dc, const RECT& bounds, uint32_t from, uint32_t to, bool vertical);
void FillGlass(HDC dc, const RECT& bounds, uint32_t a, uint32_t b);

}  // namespace vellumio::ui
