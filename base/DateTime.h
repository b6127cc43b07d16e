// Date-times as the program stores them: a double counting days since
// 1899-12-30 in local time, the fraction being the time of day. Negative
// values count days before that date, the fraction still being a positive
// time of day (-1.25 is 1899-12-29 06:00), as the file format has it.
//
// Decoding rounds the whole value to the nearest millisecond first and only
// then splits it into date and time, so 23:59:59.9996 becomes 00:00:00.000
// of the next day (never hour 24, never the right time on the wrong day).
// Values outside 0001-01-01 ... 9999-12-31 23:59:59.999 (and NaN, which
// decodes as 1899-12-30) are limited to that range when decoded: a damaged
// record must not make formatting or scheduling misbehave.
#pragma once

#include <cstdint>

namespace vellumio {

struct DateParts {
  int year = 1899, month = 12, day = 30;
};
struct TimeParts {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01
constexpr double kMinutesPerDay = 1440.0;
constexpr int64_t kMillisecondsPerDay = 86400000;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Throws std::invalid_argument for an invalid date or time (years 1 ... 9999).
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int millisecond = 0);
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                      int millisecond = 0);

DateParts DecodeDate(double dateTime);
// Rounds to the nearest millisecond (see above).
TimeParts DecodeTime(double dateTime);

// The date part (whole days) and the time of day (fraction) of a date-time.
double DateOf(double dateTime);
double TimeOf(double dateTime);
// Joins a whole-day date and a time of day (0 <= time < 1) by the sign rule
// above: a negative date subtracts the time.
double CombineDateTime(double date, double timeOfDay);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(double dateTime);

// Advances by whole calendar months (negative goes back); the day of month
// is limited to the length of the target month; the time of day is kept
// exactly. IncYear(t, n) is IncMonth(t, 12 * n), so 29 February + 1 year is
// 28 February. Never throws: results beyond year 9999 are still computed.
double IncMonth(double dateTime, int months);
double IncYear(double dateTime, int years);

// Whole calendar months from `a` to `b`: the largest k >= 0 with
// IncMonth(a, k) <= b (compared to the millisecond), 0 when b < a. So from
// 31 January 09:00 the first month is complete at 28 (29) February 09:00,
// the second at 31 March 09:00. YearsBetween is MonthsBetween / 12.
int MonthsBetween(double a, double b);
int YearsBetween(double a, double b);

}  // namespace vellumio
