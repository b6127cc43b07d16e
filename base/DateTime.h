// Date-times as the program stores them: a double counting days since
// 1899-12-30 in local time, the fraction being the time of day. Negative
// values count days before that date, the fraction still being a positive
// time of day (-1.25 is 1899-12-29 06:00), as the file format has it.
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

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Throws std::invalid_argument for an invalid date or time.
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int millisecond = 0);
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                      int millisecond = 0);

DateParts DecodeDate(double dateTime);
// Rounds to the nearest millisecond.
TimeParts DecodeTime(double dateTime);

// The date part (whole days) and the time of day (fraction) of a date-time.
double DateOf(double dateTime);
double TimeOf(double dateTime);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(double dateTime);

// Advances by whole calendar months (negative goes back); the day of month
// is limited to the length of the target month; the time of day is kept.
double IncMonth(double dateTime, int months);
double IncYear(double dateTime, int years);

// Whole months and whole years from `a` to `b` (b >= a), counted the way a
// calendar does: the months between 31 January and 28 February is 0 until
// the time of day of the 31st is reached on the last day ... see the tests.
int MonthsBetween(double a, double b);
int YearsBetween(double a, double b);

}  // namespace vellumio
