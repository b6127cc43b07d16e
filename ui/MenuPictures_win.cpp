#include "ui/MenuPictures_win.h"

#include <cstdint>
#include <cwctype>

#include "ui/FlatButton_win.h"

namespace vellumio::ui {

std::wstring KeyName(UINT virtualKey, const wchar_t* fallback) {
  wchar_t name[64] = {};
  const LONG scanCode = static_cast<LONG>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  if (GetKeyNameTextW(scanCode, name, 64) <= 0) return fallback;
  // Layouts report "CTRL": written as menus show it.
  std::wstring text = name;
  for (size_t i = 1; i < text.size(); ++i) text[i] = static_cast<wchar_t>(towlower(text[i]));
  return text;
}

void TMenuPictures::Set(HMENU menu, UINT commandId, const wchar_t* glyph) {
  TPicture* picture = nullptr;
  for (TPicture& known : pictures_)
    if (known.id == commandId) picture = &known;
  if (!picture) picture = &pictures_.emplace_back(TPicture{commandId, L"", TBitmap()});
  if (picture->glyph != glyph || !picture->bitmap) {
    picture->glyph = glyph;
    picture->bitmap.Reset(LoadGlyphBitmap(instance_, glyph, dpi_));
  }
  if (!picture->bitmap) return;
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_BITMAP;
  item.hbmpItem = HBMMENU_CALLBACK;
  SetMenuItemInfoW(menu, commandId, FALSE, &item);
}

void TMenuPictures::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  for (TPicture& picture : pictures_)
    picture.bitmap.Reset(LoadGlyphBitmap(instance_, picture.glyph.c_str(), dpi_));
}

const TMenuPictures::TPicture* TMenuPictures::Find(UINT id) const {
  for (const TPicture& picture : pictures_)
    if (picture.id == id && picture.bitmap) return &picture;
  return nullptr;
}

bool TMenuPictures::Measure(MEASUREITEMSTRUCT& measure) const {
  if (measure.CtlType != ODT_MENU || !Find(measure.itemID)) return false;
  measure.itemWidth = static_cast<UINT>(Size());
  measure.itemHeight = static_cast<UINT>(Size());
  return true;
}

bool TMenuPictures::Draw(const DRAWITEMSTRUCT& draw) const {
  if (draw.CtlType != ODT_MENU) return false;
  const TPicture* picture = Find(draw.itemID);
  if (!picture) return false;
  BITMAP info{};
  GetObjectW(picture->bitmap.Get(), sizeof(info), &info);
  const int size = Size();
  const RECT& r = draw.rcItem;
  const int x = r.left + (r.right - r.left - size) / 2;
  const int y = r.top + (r.bottom - r.top - size) / 2;
  const HDC mem = CreateCompatibleDC(draw.hDC);
  {
    TSelectGuard select(mem, picture->bitmap.Get());
    if (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) {
      DrawGreyed(draw.hDC, x, y, size, mem, info.bmWidth, info.bmHeight);
    } else {
      TransparentBlt(draw.hDC, x, y, size, size, mem, 0, 0, info.bmWidth, info.bmHeight,
                     RGB(255, 255, 255));
    }
  }
  DeleteDC(mem);
  return true;
}

// A disabled item's picture in the grey of disabled text, so that it does
// not look usable beside its greyed caption.
void TMenuPictures::DrawGreyed(HDC target, int x, int y, int size, HDC glyph, int width,
                               int height) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TBitmap copy(CreateDIBSection(glyph, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!copy || !bits) return;
  const HDC mem = CreateCompatibleDC(target);
  {
    TSelectGuard select(mem, copy.Get());
    BitBlt(mem, 0, 0, width, height, glyph, 0, 0, SRCCOPY);
    GdiFlush();
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const uint32_t greyPixel = (GetRValue(grey) << 16) | (GetGValue(grey) << 8) | GetBValue(grey);
    auto* pixel = static_cast<uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
      if ((pixel[i] & 0xFFFFFF) != 0xFFFFFF) pixel[i] = greyPixel;
    }
    TransparentBlt(target, x, y, size, size, mem, 0, 0, width, height, RGB(255, 255, 255));
  }
  DeleteDC(mem);
}

}  // namespace vellumio::ui
