#include "noteview/NoteGlyphs_win.h"

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/GdiHandles_win.h"

namespace vellumio::noteview {

namespace {

// A glyph as a monochrome bitmap with the glyph's pixels set, and the
// colour of its own palette entry 0.
struct TGlyph {
  HBITMAP mask = nullptr;
  int width = 0;
  int height = 0;
  COLORREF ownColour = 0;
};

const wchar_t* SuffixFor(int dpi) {
  if (dpi >= 168) return L"_200";
  if (dpi >= 120) return L"_150";
  return L"";
}

// Reads the 1-bit resource and turns it into a monochrome bitmap with 1 for
// every pixel of palette entry 0, whatever colours the palette holds: the
// drawing below then needs no transparent colour, so a glyph drawn in
// black (which a scheme may ask for) does not vanish.
TGlyph LoadGlyph(const std::wstring& name) {
  TGlyph glyph;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(instance, name.c_str(), reinterpret_cast<LPCWSTR>(RT_BITMAP));
  if (!found) return glyph;
  const HGLOBAL loaded = LoadResource(instance, found);
  const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(loaded));
  if (!info || info->biBitCount != 1 || info->biWidth <= 0 || info->biWidth > 256) return glyph;
  const int width = info->biWidth;
  const int height = std::abs(info->biHeight);
  const bool bottomUp = info->biHeight > 0;
  const auto* palette =
      reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + info->biSize);
  const int colours = info->biClrUsed ? static_cast<int>(info->biClrUsed) : 2;
  glyph.ownColour = RGB(palette[0].rgbRed, palette[0].rgbGreen, palette[0].rgbBlue);
  const BYTE* bits = reinterpret_cast<const BYTE*>(palette + colours);
  const int srcStride = ((width + 31) / 32) * 4;
  const int dstStride = ((width + 15) / 16) * 2;  // CreateBitmap rows are WORD-aligned
  std::vector<BYTE> mono(static_cast<size_t>(dstStride * height), 0);
  for (int y = 0; y < height; ++y) {
    const BYTE* row = bits + static_cast<size_t>((bottomUp ? height - 1 - y : y) * srcStride);
    for (int x = 0; x < width; ++x) {
      const bool entry1 = (row[x / 8] >> (7 - x % 8)) & 1;
      if (!entry1) mono[static_cast<size_t>(y * dstStride + x / 8)] |= BYTE(0x80 >> (x % 8));
    }
  }
  glyph.mask = CreateBitmap(width, height, 1, 1, mono.data());
  glyph.width = width;
  glyph.height = height;
  return glyph;
}

const TGlyph& Glyph(const wchar_t* name, int dpi) {
  static std::map<std::wstring, TGlyph> cache;
  std::wstring key = std::wstring(name) + SuffixFor(dpi);
  auto it = cache.find(key);
  if (it == cache.end()) {
    TGlyph glyph = LoadGlyph(key);
    if (!glyph.mask) glyph = LoadGlyph(name);  // no variant for this scale
    it = cache.emplace(std::move(key), glyph).first;
  }
  return it->second;
}

}  // namespace

bool DrawNoteGlyph(HDC dc, const wchar_t* name, int x, int y, int size, COLORREF colour, int dpi) {
  const TGlyph& glyph = Glyph(name, dpi);
  if (!glyph.mask) return false;
  const HDC mem = CreateCompatibleDC(dc);
  const HGDIOBJ oldBitmap = SelectObject(mem, glyph.mask);
  ui::TBrush brush(CreateSolidBrush(colour == CLR_INVALID ? glyph.ownColour : colour));
  const HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
  // Monochrome source: set bits (the glyph) come through as the background
  // colour, white, clear bits as the text colour, black. The raster
  // operation D = ((D ^ P) & S) ^ D then puts the brush where the source is
  // white and leaves the destination where it is black.
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  constexpr DWORD kBrushThroughSource = 0x00E20746;
  const int height = glyph.width > 0 ? size * glyph.height / glyph.width : size;
  if (glyph.width == size && glyph.height == height) {
    BitBlt(dc, x, y, size, height, mem, 0, 0, kBrushThroughSource);
  } else {
    const int oldMode = SetStretchBltMode(dc, WHITEONBLACK);
    StretchBlt(dc, x, y, size, height, mem, 0, 0, glyph.width, glyph.height, kBrushThroughSource);
    SetStretchBltMode(dc, oldMode);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  SelectObject(dc, oldBrush);
  SelectObject(mem, oldBitmap);
  DeleteDC(mem);
  return true;
}

HBITMAP MakeButtonGlyph(const wchar_t* name, int size, COLORREF colour, int dpi) {
  const HDC screen = GetDC(nullptr);
  const HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  {
    ui::TSelectGuard select(mem, bitmap);
    const RECT all{0, 0, size, size};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!DrawNoteGlyph(mem, name, 0, 0, size, colour, dpi)) {
      DeleteObject(bitmap);
      bitmap = nullptr;
    }
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace vellumio::noteview
