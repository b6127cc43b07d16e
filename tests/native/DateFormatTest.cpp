#include "base/DateFormat.h"

#include <gtest/gtest.h>

#include "base/DateTime.h"

namespace vellumio {
namespace {

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

// A printable form for failure messages (the tests' strings are mostly ASCII).
std::string Show(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out += c < 128 ? char(c) : '?';
  return out;
}

platform::LocaleFormats EnUsLocale() {
  platform::LocaleFormats l;
  l.shortDatePicture = u"M/d/yyyy";
  l.longDatePicture = u"dddd, MMMM d, yyyy";
  l.shortTimePicture = u"h:mm tt";
  l.longTimePicture = u"h:mm:ss tt";
  l.timeAMString = u"AM";
  l.timePMString = u"PM";
  const char16_t* shortMonths[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                   u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  const char16_t* longMonths[] = {u"January",   u"February", u"March",    u"April",
                                  u"May",       u"June",     u"July",     u"August",
                                  u"September", u"October",  u"November", u"December"};
  const char16_t* shortDays[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  const char16_t* longDays[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                u"Thursday", u"Friday", u"Saturday"};
  for (int i = 0; i < 12; ++i)
    l.shortMonthNames[i] = shortMonths[i], l.longMonthNames[i] = longMonths[i];
  for (int i = 0; i < 7; ++i) l.shortDayNames[i] = shortDays[i], l.longDayNames[i] = longDays[i];
  return l;
}

const FormatSettings& EnUs() {
  static const FormatSettings settings = FormatSettings::FromLocale(EnUsLocale());
  return settings;
}

// Tuesday, 5 March 2024, 14:07:09.045.
const double kAfternoon = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
const double kMorning = EncodeDateTime(2024, 3, 5, 9, 5, 3);
const double kMidnight = EncodeDate(2024, 3, 5);

struct Case {
  const char16_t* picture;
  double time;
  const char16_t* expected;
};

void CheckAll(const Case* begin, const Case* end, const FormatSettings& settings) {
  for (const Case* c = begin; c != end; ++c)
    EXPECT_EQ(FormatDateTime(c->picture, c->time, settings), c->expected) << Show(c->picture);
}

TEST(DateFormat, Pictures) {
  const Case cases[] = {
      {u"hh:mma/p", kAfternoon, u"02:07p"},
      {u"hh:mmA/P", kMorning, u"09:05A"},
      {u"h:mm am/pm", kAfternoon, u"2:07 pm"},
      {u"h:mm Am/Pm", kMorning, u"9:05 Am"},
      {u"h:mm AMPM", kAfternoon, u"2:07 PM"},
      {u"ddd, d", kAfternoon, u"Tue, 5"},
      {u"mmm", kAfternoon, u"Mar"},
      {u"mmmm", kAfternoon, u"March"},
      {u"dddd, ", kAfternoon, u"Tuesday, "},
      {u"yyyy-mm-dd hh:nn:ss", kAfternoon, u"2024-03-05 14:07:09"},
      {u"yy y yyy", kAfternoon, u"24 24 2024"},
      {u"d.m.yy", kMorning, u"5.3.24"},
      {u"dd/mm/yyyy", kMorning, u"05/03/2024"},
      {u"hh:nn:ss.zzz z", kAfternoon, u"14:07:09.045 45"},
      {u"h", kMidnight, u"0"},
      {u"ddddd", kAfternoon, u"3/5/2024"},
      {u"dddddd", kAfternoon, u"Tuesday, March 5, 2024"},
      {u"t", kAfternoon, u"2:07 PM"},
      {u"tt", kMorning, u"9:05:03 AM"},
      {u"", kAfternoon, u"3/5/2024 2:07:09 PM"},
      {u"a h", kAfternoon, u"a 14"},  // a lone a is no designator
      {u"Week", kAfternoon, u"Week"},
  };
  CheckAll(std::begin(cases), std::end(cases), EnUs());
}

TEST(DateFormat, MinuteRule) {
  const Case cases[] = {
      {u"h:mm", kAfternoon, u"14:07"},
      {u"hh mm", kAfternoon, u"14 07"},
      {u"h\"h\"m", kMorning, u"9h5"},                  // across a literal
      {u"h 'o''clock' mm", kMorning, u"9 oclock 05"},  // two literals side by side
      {u"mm h", kMorning, u"03 9"},                    // before h: month
      {u"h d m", kMorning, u"9 5 3"},                  // another letter in between: month
      {u"h:mm:ss mm", kAfternoon, u"14:07:09 03"},
      {u"hmmm", kAfternoon, u"1407"},  // minutes have at most two digits
  };
  CheckAll(std::begin(cases), std::end(cases), EnUs());
}

TEST(DateFormat, TwelveHourClock) {
  const Case cases[] = {
      {u"h a/p", EncodeDateTime(2024, 3, 5, 0, 30, 0), u"12 a"},
      {u"h a/p", EncodeDateTime(2024, 3, 5, 12, 0, 0), u"12 p"},
      {u"hh a/p", EncodeDateTime(2024, 3, 5, 1, 0, 0), u"01 a"},
      {u"h a/p", EncodeDateTime(2024, 3, 5, 23, 59, 0), u"11 p"},
      {u"a/p h", kAfternoon, u"p 2"},             // the designator may come first
      {u"h \"am/pm\"", kAfternoon, u"14 am/pm"},  // quoted: no 12-hour clock
      {u"h", EncodeDateTime(2024, 3, 5, 12, 0, 0), u"12"},
  };
  CheckAll(std::begin(cases), std::end(cases), EnUs());
}

TEST(DateFormat, LiteralsAndSeparators) {
  FormatSettings dotted = EnUs();
  dotted.dateSeparator = u'.';
  dotted.timeSeparator = u'-';
  const Case cases[] = {
      {u"dd/mm/yyyy hh:nn", kAfternoon, u"05.03.2024 14-07"},
      {u"\"d/m h:n\" d", kAfternoon, u"d/m h:n 5"},
      {u"'at' h", kAfternoon, u"at 14"},
      {u"\"it's\" yyyy", kAfternoon, u"it's 2024"},
      {u"'say \"hi\"'", kAfternoon, u"say \"hi\""},
      {u"yyyy \"open", kAfternoon, u"2024 open"},  // an unclosed literal runs to the end
      {u"d'", kAfternoon, u"5"},
      {u"yyyy年m月d日", kAfternoon, u"2024年3月5日"},
  };
  CheckAll(std::begin(cases), std::end(cases), dotted);
}

TEST(DateFormat, CLeavesOutMidnight) {
  EXPECT_EQ(FormatDateTime(u"c", kAfternoon, EnUs()), u"3/5/2024 2:07:09 PM");
  EXPECT_EQ(FormatDateTime(u"c", kMidnight, EnUs()), u"3/5/2024");
  EXPECT_EQ(FormatDateTime(u"c", kMidnight + EncodeTime(0, 0, 0, 1), EnUs()),
            u"3/5/2024 12:00:00 AM");
  EXPECT_EQ(FormatDateTime(u"c", kMidnight + EncodeTime(0, 0, 1), EnUs()), u"3/5/2024 12:00:01 AM");
  // 23:59:59.9996 rounds to the next midnight and shows as that date alone.
  EXPECT_EQ(FormatDateTime(u"c", kMidnight + 86399999.6 / 86400000.0, EnUs()), u"3/6/2024");
  EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd hh:nn:ss.zzz", kMidnight + 86399999.6 / 86400000.0, EnUs()),
            u"2024-03-06 00:00:00.000");
  EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd hh:nn", -1.25, EnUs()), u"1899-12-29 06:00");
}

TEST(DateFormat, SelfReferringSettingsStop) {
  FormatSettings looping = EnUs();
  looping.shortDateFormat = u"c";
  looping.longTimeFormat = u"tt";
  // Must end, with no more than the separators of the levels it went through.
  EXPECT_EQ(FormatDateTime(u"c", kAfternoon, looping).find_first_not_of(u' '),
            std::u16string::npos);
  EXPECT_LE(FormatDateTime(u"c", kAfternoon, looping).size(), 4u);
}

TEST(DateFormat, ConvertLocalePicture) {
  const struct {
    const char16_t* windows;
    const char16_t* pascal;
  } cases[] = {
      {u"M/d/yyyy", u"m/d/yyyy"},
      {u"dd.MM.yyyy", u"dd.mm.yyyy"},
      {u"h:mm:ss tt", u"h:nn:ss ampm"},
      {u"HH:mm:ss", u"hh:nn:ss"},
      {u"dddd, MMMM d, yyyy", u"dddd, mmmm d, yyyy"},
      {u"yyyy'年'M'月'd'日'", u"yyyy\"年\"m\"月\"d\"日\""},
      {u"h:mm t", u"h:nn A/P"},
      {u"d MMM yy", u"d mmm yy"},
      {u"y", u"yy"},
      {u"yyy", u"yyyy"},
      {u"gg yyyy", u" yyyy"},
      {u"H 'Uhr' m", u"h \"Uhr\" n"},
      {u"'o''clock' H", u"\"o'clock\" h"},
      {u"H '' m", u"h \"'\" n"},
      {u"dd x MM", u"dd \"x\" mm"},
      {u"'say \"hi\"'", u"\"say \"'\"'\"hi\"'\"'"},
      {u"HH:mm 'unclosed", u"hh:nn \"unclosed\""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ConvertLocalePicture(c.windows), c.pascal)
        << Show(c.windows) << " -> " << Show(ConvertLocalePicture(c.windows));
}

TEST(DateFormat, ConvertedLocalesFormatLikeTheSystem) {
  platform::LocaleFormats german = EnUsLocale();
  german.shortDatePicture = u"dd.MM.yyyy";
  german.longTimePicture = u"HH:mm:ss";
  german.dateSeparator = u'.';
  EXPECT_EQ(FormatDateTime(u"c", kAfternoon, FormatSettings::FromLocale(german)),
            u"05.03.2024 14:07:09");

  platform::LocaleFormats japanese = EnUsLocale();
  japanese.shortDatePicture = u"yyyy/MM/dd";
  japanese.longDatePicture = u"yyyy'年'M'月'd'日'";
  japanese.longTimePicture = u"H:mm:ss";
  const FormatSettings ja = FormatSettings::FromLocale(japanese);
  EXPECT_EQ(FormatDateTime(u"dddddd", kAfternoon, ja), u"2024年3月5日");
  EXPECT_EQ(FormatDateTime(u"c", kMorning, ja), u"2024/03/05 9:05:03");

  const FormatSettings& us = EnUs();
  EXPECT_EQ(us.longMonthNames[11], u"December");
  EXPECT_EQ(us.shortDayNames[0], u"Sun");
  EXPECT_EQ(FormatDateTime(u"t", EncodeDateTime(2024, 3, 5, 0, 5, 0), us), u"12:05 AM");
}

TEST(DateFormat, SystemSettingsAreTheNativeEnUsLocale) {
#ifdef _WIN32
  GTEST_SKIP() << "the system's locale is whatever Windows (or Wine) reports";
#endif
  // The native build reports the en-US conventions.
  EXPECT_EQ(&FormatSettings::System(), &FormatSettings::System());
  EXPECT_EQ(Narrow(FormatShortDateLongTime(kAfternoon)), "3/5/2024 2:07:09 PM");
  // Unlike "c", the export's form always shows the time.
  EXPECT_EQ(Narrow(FormatShortDateLongTime(kMidnight)), "3/5/2024 12:00:00 AM");
}

}  // namespace
}  // namespace vellumio
