#include "ui/MenuPictures_win.h"

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
    TransparentBlt(draw.hDC, x, y, size, size, mem, 0, 0, info.bmWidth, info.bmHeight,
                   RGB(255, 255, 255));
  }
  DeleteDC(mem);
  return true;
}

}  // namespace vellumio::ui
