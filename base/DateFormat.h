// One formatter for the classic Pascal-style date-time picture syntax that
// the program's texts use ("hh:mma/p", "ddd, d", "mmmm", the language files'
// DateFormat), and the conversion of the system's locale pictures into it.
//
// Syntax: c (short date + long time, time left out at midnight), d, dd, ddd,
// dddd, ddddd (short date), dddddd (long date), m, mm, mmm, mmmm (m/mm right
// after an h/hh, optionally with separators between, mean minutes), yy,
// yyyy, h, hh, n, nn, s, ss, z, zzz, t (short time), tt (long time),
// am/pm, a/p, ampm (locale strings), / (date separator), : (time separator),
// "..." and '...' literals. Letters are case-insensitive except for the
// case of am/pm and a/p, which is kept in the output. A 12-hour clock is used
// when an am/pm specifier appears anywhere in the picture.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace vellumio {

// The locale used for formatting: the system's conventions converted once.
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

// Converts a Windows locale picture (d, dd, ddd, dddd, M, MM, MMM, MMMM, y,
// yy, yyyy, g, h, hh, H, HH, m, mm, s, ss, t, tt, '...' literals) into the
// Pascal-style syntax above.
std::u16string ConvertLocalePicture(std::u16string_view windowsPicture);

// The system's short date and long time format (the export and the
// "[date time]" line of each exported note).
std::u16string FormatShortDateLongTime(double dateTime);

}  // namespace vellumio
