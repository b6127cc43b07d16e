#include "reminders/SymbolButton_win.h"

#include <cwchar>

namespace vellumio::reminders {

namespace {

int CALLBACK FoundFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool SystemHasMarlett() {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(wanted.lfFaceName, L"Marlett");
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, &FoundFont, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace

void TSymbolFont::Apply(const ui::TForm& form, HWND button) {
  static const bool hasMarlett = SystemHasMarlett();
  marlett_ = hasMarlett;
  if (!marlett_) return;  // the form's font, which the button has already
  LOGFONTW symbol{};
  GetObjectW(form.Font(), sizeof(symbol), &symbol);
  wcscpy_s(symbol.lfFaceName, L"Marlett");
  symbol.lfCharSet = SYMBOL_CHARSET;
  ui::UniqueFont font(CreateFontIndirectW(&symbol));
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);  // the old one only now that no button uses it
}

std::u16string TSymbolFont::Text(TSymbol symbol) const {
  switch (symbol) {
    case TSymbol::kDownArrow: return marlett_ ? u"6" : u"\u25BC";
    case TSymbol::kPlay: return marlett_ ? u"8" : u"\u25B6";
    case TSymbol::kStop: return marlett_ ? u"g" : u"\u25A0";
  }
  return {};
}

}  // namespace vellumio::reminders
