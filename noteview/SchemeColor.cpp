#include "noteview/SchemeColor.h"

#include <optional>
#include <string>

#include "base/TextUtil.h"
#include "noteview/SchemeSysColor.h"

namespace vellumio {

namespace {

struct TNamedColor {
  std::u16string_view name;
  TColor color;
};

// Given as RRGGBB in the scheme format, stored as GDI wants them.
constexpr TNamedColor kBasicColors[] = {
    {u"Black", RgbColor(0x00, 0x00, 0x00)},  {u"Maroon", RgbColor(0x80, 0x00, 0x00)},
    {u"Green", RgbColor(0x00, 0x80, 0x00)},  {u"Olive", RgbColor(0x80, 0x80, 0x00)},
    {u"Navy", RgbColor(0x00, 0x00, 0x80)},   {u"Purple", RgbColor(0x80, 0x00, 0x80)},
    {u"Teal", RgbColor(0x00, 0x80, 0x80)},   {u"Gray", RgbColor(0x80, 0x80, 0x80)},
    {u"Silver", RgbColor(0xC0, 0xC0, 0xC0)}, {u"Red", RgbColor(0xFF, 0x00, 0x00)},
    {u"Lime", RgbColor(0x00, 0xFF, 0x00)},   {u"Yellow", RgbColor(0xFF, 0xFF, 0x00)},
    {u"Blue", RgbColor(0x00, 0x00, 0xFF)},   {u"Fuchsia", RgbColor(0xFF, 0x00, 0xFF)},
    {u"Aqua", RgbColor(0x00, 0xFF, 0xFF)},   {u"LtGray", RgbColor(0xC0, 0xC0, 0xC0)},
    {u"DkGray", RgbColor(0x80, 0x80, 0x80)}, {u"White", RgbColor(0xFF, 0xFF, 0xFF)},
};

// In system colour index order.
constexpr std::u16string_view kSystemColorNames[kSchemeSysColorCount] = {
    u"ScrollBar",    u"Background",  u"ActiveCaption", u"InactiveCaption",
    u"Menu",         u"Window",      u"WindowFrame",   u"MenuText",
    u"WindowText",   u"CaptionText", u"ActiveBorder",  u"InactiveBorder",
    u"AppWorkSpace", u"Highlight",   u"HighlightText", u"BtnFace",
    u"BtnShadow",    u"GrayText",    u"BtnText",       u"InactiveCaptionText",
    u"BtnHighlight", u"3DDkShadow",  u"3DLight",       u"InfoText",
    u"InfoBk",
};

bool SameText(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperUnit(a[i]) != UpperUnit(b[i])) return false;
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// "#RRGGBB" exactly; anything shorter, longer or not hexadecimal is none.
TColor ParseHexColor(std::u16string_view digits) {
  if (digits.size() != 6) return kColorNone;
  uint8_t parts[3];
  for (int i = 0; i < 3; ++i) {
    int high = HexDigit(digits[2 * i]), low = HexDigit(digits[2 * i + 1]);
    if (high < 0 || low < 0) return kColorNone;
    parts[i] = static_cast<uint8_t>(high * 16 + low);
  }
  return RgbColor(parts[0], parts[1], parts[2]);
}

TColor ParseColorName(std::u16string_view name) {
  for (const TNamedColor& basic : kBasicColors)
    if (SameText(basic.name, name)) return basic.color;
  for (int i = 0; i < kSchemeSysColorCount; ++i)
    if (SameText(kSystemColorNames[i], name)) return SchemeSysColor(i);
  return kColorNone;
}

// The text up to the next ":" (or the end), removed from `text`; nothing
// once no field is left.
std::optional<std::u16string_view> NextField(std::optional<std::u16string_view>& text) {
  if (!text) return std::nullopt;
  std::u16string_view rest = *text;
  size_t colon = rest.find(u':');
  if (colon == std::u16string_view::npos) {
    text.reset();
    return rest;
  }
  text = rest.substr(colon + 1);
  return rest.substr(0, colon);
}

}  // namespace

TColor ParseSchemeColor(std::u16string_view text) {
  std::u16string trimmed = Trim(text);
  if (trimmed.empty()) return kColorNone;
  if (trimmed.front() == u'#') return ParseHexColor(std::u16string_view(trimmed).substr(1));
  return ParseColorName(trimmed);
}

TGradientSpec ParseGradientSpec(std::u16string_view text) {
  std::optional<std::u16string_view> rest = text;
  TGradientSpec spec;
  spec.first = ParseSchemeColor(NextField(rest).value_or(u""));
  auto second = NextField(rest);
  spec.second = second ? ParseSchemeColor(*second) : spec.first;
  if (auto orientation = NextField(rest)) spec.horizontal = SameText(Trim(*orientation), u"H");
  if (auto style = NextField(rest)) spec.glossy = !SameText(Trim(*style), u"G");
  return spec;
}

}  // namespace vellumio
