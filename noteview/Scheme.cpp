#include "noteview/Scheme.h"

#include <charconv>

#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "noteview/SchemeFile.h"

namespace vellumio {

namespace {

constexpr std::u16string_view kInfoSection = u"SCHEME_INFO";
constexpr std::u16string_view kColorSection = u"SCHEME";

struct TColorKey {
  std::u16string_view key;
  std::u16string_view defaultValue;
  TColor TScheme::*field;
};

// In the order the keys are read; DATE_BK and the two weights come between
// and are read on their own.
constexpr TColorKey kLeadingColors[] = {
    {u"INFO_BK_0", u"#97CFFF", &TScheme::InfoBk0},
    {u"INFO_BK_1", u"#6FBDFF", &TScheme::InfoBk1},
    {u"INFO_FR_0", u"#031B92", &TScheme::InfoFr0},
    {u"INFO_FR_1", u"#031B92", &TScheme::InfoFr1},
    {u"NOTE_BK_0", u"white", &TScheme::NoteBk0},
    {u"NOTE_BK_1", u"#F2F2FF", &TScheme::NoteBk1},
    {u"NOTE_FR_0", u"black", &TScheme::NoteFr0},
    {u"NOTE_FR_1", u"black", &TScheme::NoteFr1},
    {u"NOTE_FR_FIRST", u"gray", &TScheme::NoteFrFirst},
    {u"TAB_COLOR", u"#ECE9D8", &TScheme::TabColor},
};
constexpr std::u16string_view kDateBkKey = u"DATE_BK";
constexpr std::u16string_view kDateBkDefault = u"#008AFF";
constexpr TColorKey kTrailingColors[] = {
    {u"DATE_FR", u"white", &TScheme::DateFr},
    {u"DATE_SEP", u"white", &TScheme::DateSep},
    {u"DATE_LINE", u"blue", &TScheme::DateLine},
    {u"CAPTION_FR", u"white", &TScheme::CaptionFr},
    {u"CAPTION_BK", u"navy", &TScheme::CaptionBk},
    {u"CURITEM_RECT", u"gray", &TScheme::CurItemRect},
    {u"CHECK_BK_SEL", u"white", &TScheme::CheckBkSel},
    {u"CHECK_FR_SEL", u"blue", &TScheme::CheckFrSel},
    {u"CHECK_FR", u"silver", &TScheme::CheckFr},
    {u"FOCUSED_COLOR", u"black", &TScheme::FocusedColor},
};
constexpr int32_t kFocusedAlphaDefault = 10;
constexpr TColorKey kReminderColor = {u"REMINDER_COLOR", u"red", &TScheme::ReminderColor};
constexpr int32_t kReminderAlphaDefault = 50;

// Reads the key from `reader`, or gives its default when there is none.
class TSchemeReading {
public:
  explicit TSchemeReading(TProfileReader* reader) : reader_(reader) {}

  std::u16string Text(std::u16string_view section, std::u16string_view key,
                      std::u16string_view fallback) {
    return reader_ ? reader_->ReadString(section, key, fallback) : std::u16string(fallback);
  }
  void Colors(TScheme& scheme, const TColorKey* keys, size_t count) {
    for (size_t i = 0; i < count; ++i)
      scheme.*keys[i].field =
          ParseSchemeColor(Text(kColorSection, keys[i].key, keys[i].defaultValue));
  }
  int32_t Integer(std::u16string_view key, int32_t fallback) {
    return ParseSchemeInteger(Text(kColorSection, key, u""), fallback);
  }

private:
  TProfileReader* reader_;
};

void Fill(TScheme& scheme, TProfileReader* reader) {
  TSchemeReading read(reader);
  scheme.Name = read.Text(kInfoSection, u"Name", u"No name");
  read.Colors(scheme, kLeadingColors, std::size(kLeadingColors));
  scheme.DateBk = ParseGradientSpec(read.Text(kColorSection, kDateBkKey, kDateBkDefault));
  read.Colors(scheme, kTrailingColors, std::size(kTrailingColors));
  scheme.FocusedAlpha = read.Integer(u"FOCUSED_ALPHA", kFocusedAlphaDefault);
  read.Colors(scheme, &kReminderColor, 1);
  scheme.ReminderAlpha = read.Integer(u"REMINDER_ALPHA", kReminderAlphaDefault);
}

}  // namespace

TScheme::TScheme() { Fill(*this, nullptr); }

void TScheme::Load(const std::u16string& path) {
  auto reader = OpenProfileFile(path);
  LoadFrom(*reader);
  FileName = SchemeFileNameOf(path);
}

void TScheme::LoadFrom(TProfileReader& reader) { Fill(*this, &reader); }

std::u16string SchemeFileNameOf(const std::u16string& path) {
  size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

int32_t ParseSchemeInteger(std::u16string_view text, int32_t fallback) {
  std::string ascii = ToUtf8(Trim(text));
  int base = 10;
  std::string_view digits = ascii;
  if (digits.starts_with("$")) {
    base = 16;
    digits.remove_prefix(1);
  } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
    base = 16;
    digits.remove_prefix(2);
  }
  if (digits.starts_with("+")) digits.remove_prefix(1);
  int32_t value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
    return fallback;
  return value;
}

}  // namespace vellumio
