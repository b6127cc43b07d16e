#include "base/DateFormat.h"

#include <algorithm>
#include <string>

#include "base/DateTime.h"

namespace vellumio {
namespace {

// Pictures from the settings may themselves name settings pictures ("c" in a
// long date); two levels are enough for every real locale and stop a loop.
constexpr int kMaxNesting = 2;

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool StartsWithNoCase(std::u16string_view text, size_t at, std::u16string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (UpperAscii(text[at + i]) != word[i]) return false;
  return true;
}

// The length of the am/pm specifier at `at` ("AM/PM" 5, "A/P" 3, "AMPM" 4),
// or 0 when there is none.
size_t AmPmLength(std::u16string_view picture, size_t at) {
  if (StartsWithNoCase(picture, at, u"AM/PM")) return 5;
  if (StartsWithNoCase(picture, at, u"A/P")) return 3;
  if (StartsWithNoCase(picture, at, u"AMPM")) return 4;
  return 0;
}

// Past the end of a literal opened by the quote at `at` (an unclosed one
// runs to the end of the picture).
size_t LiteralEnd(std::u16string_view picture, size_t at) {
  return std::min(picture.find(picture[at], at + 1), picture.size() - 1) + 1;
}

bool UsesTwelveHourClock(std::u16string_view picture) {
  for (size_t i = 0; i < picture.size();) {
    const char16_t c = picture[i];
    if (c == u'"' || c == u'\'') {
      i = LiteralEnd(picture, i);
    } else {
      if ((c == u'a' || c == u'A') && AmPmLength(picture, i)) return true;
      ++i;
    }
  }
  return false;
}

size_t RunLength(std::u16string_view picture, size_t at) {
  const char16_t letter = UpperAscii(picture[at]);
  size_t end = at + 1;
  while (end < picture.size() && UpperAscii(picture[end]) == letter) ++end;
  return end - at;
}

class Formatter {
public:
  Formatter(double dateTime, const FormatSettings& settings)
      : settings_(settings),
        date_(DecodeDate(dateTime)),
        time_(DecodeTime(dateTime)),
        dayOfWeek_(DayOfWeek(dateTime)) {}

  void Append(std::u16string_view picture, int level);
  std::u16string Take() { return std::move(out_); }

private:
  size_t AppendToken(std::u16string_view picture, size_t at, char16_t token, size_t count,
                     int level);
  size_t AppendAmPm(std::u16string_view picture, size_t at);
  void AppendDay(size_t count, int level);
  void AppendMonth(size_t count);
  void AppendNumber(int value, size_t digits);
  void AppendNested(const std::u16string& picture, int level) {
    if (level < kMaxNesting) Append(picture, level + 1);
  }
  bool IsMidnight() const {
    return time_.hour == 0 && time_.minute == 0 && time_.second == 0 && time_.millisecond == 0;
  }

  const FormatSettings& settings_;
  const DateParts date_;
  const TimeParts time_;
  const int dayOfWeek_;
  bool twelveHour_ = false;
  std::u16string out_;
};

void Formatter::Append(std::u16string_view picture, int level) {
  const bool outerTwelveHour = twelveHour_;
  twelveHour_ = UsesTwelveHourClock(picture);
  // The minute rule looks back past everything that is not a letter.
  char16_t lastToken = 0;
  for (size_t i = 0; i < picture.size();) {
    const char16_t c = picture[i];
    if (c == u'"' || c == u'\'') {
      const size_t close = std::min(picture.find(c, i + 1), picture.size());
      out_.append(picture.substr(i + 1, close - i - 1));
      i = close + 1;
    } else if (IsAsciiLetter(c)) {
      char16_t token = UpperAscii(c);
      if (token == u'M' && lastToken == u'H') token = u'N';
      lastToken = token;
      i = AppendToken(picture, i, token, RunLength(picture, i), level);
    } else {
      out_ += c == u'/' ? settings_.dateSeparator : c == u':' ? settings_.timeSeparator : c;
      ++i;
    }
  }
  twelveHour_ = outerTwelveHour;
}

// Appends the specifier of `count` letters at `at`; returns where the
// picture goes on.
size_t Formatter::AppendToken(std::u16string_view picture, size_t at, char16_t token, size_t count,
                              int level) {
  switch (token) {
    case u'A':
      return AppendAmPm(picture, at);
    case u'C':
      AppendNested(settings_.shortDateFormat, level);
      if (!IsMidnight()) {
        out_ += u' ';
        AppendNested(settings_.longTimeFormat, level);
      }
      break;
    case u'D':
      AppendDay(count, level);
      break;
    case u'M':
      AppendMonth(count);
      break;
    case u'Y':
      if (count <= 2)
        AppendNumber(date_.year % 100, 2);
      else
        AppendNumber(date_.year, 4);
      break;
    case u'H': {
      int hour = time_.hour;
      if (twelveHour_) hour = hour % 12 == 0 ? 12 : hour % 12;
      AppendNumber(hour, std::min<size_t>(count, 2));
      break;
    }
    case u'N':
      AppendNumber(time_.minute, std::min<size_t>(count, 2));
      break;
    case u'S':
      AppendNumber(time_.second, std::min<size_t>(count, 2));
      break;
    case u'Z':
      AppendNumber(time_.millisecond, std::min<size_t>(count, 3));
      break;
    case u'T':
      AppendNested(count == 1 ? settings_.shortTimeFormat : settings_.longTimeFormat, level);
      break;
    default:
      out_.append(picture.substr(at, count));
      break;
  }
  return at + count;
}

// am/pm and a/p copy the letters as written in the picture; ampm takes the
// locale's strings. A lone 'a' is an ordinary character.
size_t Formatter::AppendAmPm(std::u16string_view picture, size_t at) {
  const bool pm = time_.hour >= 12;
  switch (AmPmLength(picture, at)) {
    case 5:
      out_.append(picture.substr(pm ? at + 3 : at, 2));
      return at + 5;
    case 3:
      out_ += picture[pm ? at + 2 : at];
      return at + 3;
    case 4:
      out_ += pm ? settings_.timePMString : settings_.timeAMString;
      return at + 4;
    default:
      out_ += picture[at];
      return at + 1;
  }
}

void Formatter::AppendDay(size_t count, int level) {
  switch (count) {
    case 1:
    case 2:
      AppendNumber(date_.day, count);
      break;
    case 3:
      out_ += settings_.shortDayNames[dayOfWeek_ - 1];
      break;
    case 4:
      out_ += settings_.longDayNames[dayOfWeek_ - 1];
      break;
    case 5:
      AppendNested(settings_.shortDateFormat, level);
      break;
    default:
      AppendNested(settings_.longDateFormat, level);
      break;
  }
}

void Formatter::AppendMonth(size_t count) {
  if (count <= 2)
    AppendNumber(date_.month, count);
  else if (count == 3)
    out_ += settings_.shortMonthNames[date_.month - 1];
  else
    out_ += settings_.longMonthNames[date_.month - 1];
}

void Formatter::AppendNumber(int value, size_t digits) {
  const std::string text = std::to_string(value);
  if (text.size() < digits) out_.append(digits - text.size(), u'0');
  out_.append(text.begin(), text.end());
}

// ---- Locale pictures ----------------------------------------------------------

// Appends literal text in the Pascal syntax: inside "..." except for double
// quotes, which go inside '...'.
void AppendLiteral(std::u16string& out, std::u16string_view text) {
  bool open = false;
  for (char16_t c : text) {
    if (c == u'"') {
      if (open) out += u'"';
      out += u"'\"'";
      open = false;
    } else {
      if (!open) out += u'"';
      out += c;
      open = true;
    }
  }
  if (open) out += u'"';
}

// A Windows literal starting after the quote at `at`; '' inside is an
// apostrophe. Returns where the picture goes on.
size_t ReadWindowsLiteral(std::u16string_view picture, size_t at, std::u16string& text) {
  size_t i = at + 1;
  while (i < picture.size()) {
    if (picture[i] != u'\'') {
      text += picture[i++];
    } else if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
      text += u'\'';
      i += 2;
    } else {
      return i + 1;
    }
  }
  return i;
}

std::u16string_view SpecifierText(char16_t letter, size_t count) {
  switch (letter) {
    case u'd':
      return count >= 4 ? u"dddd" : count == 3 ? u"ddd" : count == 2 ? u"dd" : u"d";
    case u'M':
      return count >= 4 ? u"mmmm" : count == 3 ? u"mmm" : count == 2 ? u"mm" : u"m";
    case u'y':
      return count <= 2 ? u"yy" : u"yyyy";
    case u'g':
      return u"";
    case u'h':
    case u'H':
      return count >= 2 ? u"hh" : u"h";
    case u'm':
      return count >= 2 ? u"nn" : u"n";
    case u's':
      return count >= 2 ? u"ss" : u"s";
    case u't':
      return count >= 2 ? u"ampm" : u"A/P";
    default:
      return {};
  }
}

// The Pascal form of a Windows specifier; false for letters that are none.
bool ConvertSpecifier(char16_t letter, size_t count, std::u16string_view& converted) {
  converted = SpecifierText(letter, count);
  return !converted.empty() || letter == u'g';
}

size_t CaseSensitiveRun(std::u16string_view picture, size_t at) {
  size_t end = at + 1;
  while (end < picture.size() && picture[end] == picture[at]) ++end;
  return end - at;
}

}  // namespace

std::u16string FormatDateTime(std::u16string_view picture, double dateTime,
                              const FormatSettings& settings) {
  Formatter formatter(dateTime, settings);
  formatter.Append(picture.empty() ? std::u16string_view(u"c") : picture, 0);
  return formatter.Take();
}

std::u16string ConvertLocalePicture(std::u16string_view windowsPicture) {
  std::u16string out;
  for (size_t i = 0; i < windowsPicture.size();) {
    const char16_t c = windowsPicture[i];
    if (c == u'\'') {
      std::u16string text;
      if (i + 1 < windowsPicture.size() && windowsPicture[i + 1] == u'\'') {
        text = u"'";
        i += 2;
      } else {
        i = ReadWindowsLiteral(windowsPicture, i, text);
      }
      AppendLiteral(out, text);
    } else if (IsAsciiLetter(c)) {
      const size_t count = CaseSensitiveRun(windowsPicture, i);
      std::u16string_view converted;
      if (ConvertSpecifier(c, count, converted))
        out += converted;
      else
        AppendLiteral(out, windowsPicture.substr(i, count));
      i += count;
    } else if (c == u'"') {
      AppendLiteral(out, u"\"");
      ++i;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

FormatSettings FormatSettings::FromLocale(const platform::LocaleFormats& locale) {
  FormatSettings settings;
  settings.shortDateFormat = ConvertLocalePicture(locale.shortDatePicture);
  settings.longDateFormat = ConvertLocalePicture(locale.longDatePicture);
  settings.shortTimeFormat = ConvertLocalePicture(locale.shortTimePicture);
  settings.longTimeFormat = ConvertLocalePicture(locale.longTimePicture);
  settings.timeAMString = locale.timeAMString;
  settings.timePMString = locale.timePMString;
  settings.dateSeparator = locale.dateSeparator;
  settings.timeSeparator = locale.timeSeparator;
  std::copy(std::begin(locale.shortMonthNames), std::end(locale.shortMonthNames),
            settings.shortMonthNames);
  std::copy(std::begin(locale.longMonthNames), std::end(locale.longMonthNames),
            settings.longMonthNames);
  std::copy(std::begin(locale.shortDayNames), std::end(locale.shortDayNames),
            settings.shortDayNames);
  std::copy(std::begin(locale.longDayNames), std::end(locale.longDayNames), settings.longDayNames);
  return settings;
}

const FormatSettings& FormatSettings::System() {
  static const FormatSettings settings = FromLocale(platform::ReadLocaleFormats());
  return settings;
}

std::u16string FormatShortDateLongTime(double dateTime) {
  const FormatSettings& settings = FormatSettings::System();
  // Formatted apart so that the date's letters cannot bend the time's
  // minute rule or clock.
  return FormatDateTime(settings.shortDateFormat, dateTime, settings) + u" " +
         FormatDateTime(settings.longTimeFormat, dateTime, settings);
}

}  // namespace vellumio
