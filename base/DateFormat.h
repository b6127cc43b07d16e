// One formatter for the classic Pascal-style date-time picture syntax that
// the program's texts use ("hh:mma/p", "ddd, d", "mmmm", the language files'
// DateFormat), and the conversion of the system's locale pictures into it.
//
// Syntax: c (short date, then a space and the long time unless the time is
// exactly midnight), d, dd (day), ddd, dddd (day names), ddddd (short date),
// dddddd (long date), m, mm (month; but right after an h/hh, with only
// separators, spaces or literals between, they mean minutes), mmm, mmmm
// (month names), yy (two digits; a single y too), yyyy (yyy and longer too),
// h, hh, n, nn (minutes), s, ss, z, zzz (milliseconds), t (short time),
// tt (long time), am/pm and a/p (the letters as written: "Am/Pm" gives "Am"
// or "Pm"), ampm (the locale's AM or PM string), / (date separator),
// : (time separator), "..." and '...' literals; every other character is
// copied. Letters are case-insensitive otherwise. A 12-hour clock is used
// when an am/pm specifier appears anywhere (outside literals) in the same
// picture; pictures taken from the settings (c, ddddd, t, ...) are judged on
// their own. An empty picture means "c".
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace vellumio {

// The locale used for formatting: the system's conventions converted once.
// The pictures are in the Pascal-style syntax above.
struct FormatSettings {
  std::u16string shortDateFormat;
  std::u16string longDateFormat;
  std::u16string shortTimeFormat;
  std::u16string longTimeFormat;
  std::u16string timeAMString;
  std::u16string timePMString;
  char16_t dateSeparator = u'/';
  char16_t timeSeparator = u':';
  std::u16string shortMonthNames[12];
  std::u16string longMonthNames[12];
  std::u16string shortDayNames[7];  // Sunday first
  std::u16string longDayNames[7];

  static FormatSettings FromLocale(const platform::LocaleFormats& locale);
  // The system's settings, read and converted once per process.
  static const FormatSettings& System();
};

std::u16string FormatDateTime(std::u16string_view picture, double dateTime,
                              const FormatSettings& settings = FormatSettings::System());

// Converts a Windows locale picture into the Pascal-style syntax above:
//   d dd ddd dddd -> the same; M MM MMM MMMM -> m mm mmm mmmm;
//   y yy -> yy (there is no unpadded year), yyy yyyy -> yyyy; g gg -> dropped;
//   h hh H HH -> h hh (whether the clock runs to 12 or 24 follows from the
//   presence of an AM/PM designator, as the Pascal syntax has it);
//   m mm -> n nn (unambiguous minutes); s ss -> s ss;
//   tt -> ampm (the locale's designator); t -> A/P (the first letter of the
//   designator in every locale that writes AM/PM; the nearest Pascal form);
//   '...' -> "..." ('' is an apostrophe); other letters are quoted so that
//   they stay literal; every other character is copied. '/' and ':' then
//   stand for the locale's separators, which FromLocale takes from the same
//   locale.
std::u16string ConvertLocalePicture(std::u16string_view windowsPicture);

// The system's short date and long time format, joined by a space (the
// export and the "[date time]" line of each exported note).
std::u16string FormatShortDateLongTime(double dateTime);

}  // namespace vellumio
