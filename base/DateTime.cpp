#include "base/DateTime.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vellumio {
namespace {

constexpr int64_t kMinDay = -693593;  // 0001-01-01
constexpr int64_t kMaxDay = 2958465;  // 9999-12-31
constexpr int64_t kDaysBeforeUnixEpoch = 25569;
constexpr double kLastMillisecond = double(kMillisecondsPerDay - 1) / double(kMillisecondsPerDay);

// A date-time on a straight time line: the day and the milliseconds of that
// day, both with the sign rule of the stored form already resolved.
struct Instant {
  int64_t day = 0;
  int64_t ms = 0;
  auto operator<=>(const Instant&) const = default;
};

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

Instant ToInstant(double dateTime) {
  if (std::isnan(dateTime)) dateTime = 0;
  dateTime = std::clamp(dateTime, -(double(-kMinDay) + kLastMillisecond),
                        double(kMaxDay) + kLastMillisecond);
  const double day = std::trunc(dateTime);
  const double linear = day + std::fabs(dateTime - day);
  const int64_t total = std::llround(linear * double(kMillisecondsPerDay));
  const int64_t whole = FloorDiv(total, kMillisecondsPerDay);
  return {whole, total - whole * kMillisecondsPerDay};
}

bool IsLeap(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int64_t MonthLength(int64_t year, int month) {
  static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kLengths[month - 1];
}

// Proleptic Gregorian calendar <-> day number (0 = 1899-12-30), valid for
// any year; the era arithmetic keeps the divisions non-negative.
int64_t DayFromCivil(int64_t year, int month, int64_t day) {
  year -= month <= 2;
  const int64_t era = FloorDiv(year, 400);
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + kDaysBeforeUnixEpoch;
}

struct Civil {
  int64_t year;
  int month;
  int64_t day;
};

Civil CivilFromDay(int64_t dayNumber) {
  const int64_t z = dayNumber - kDaysBeforeUnixEpoch + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int month = int(mp < 10 ? mp + 3 : mp - 9);
  return {yearOfEra + era * 400 + (month <= 2), month, dayOfYear - (153 * mp + 2) / 5 + 1};
}

// The day `months` calendar months after `date`, the day of month limited.
int64_t AddMonths(const Civil& date, int64_t months) {
  const int64_t total = date.year * 12 + (date.month - 1) + months;
  const int64_t year = FloorDiv(total, 12);
  const int month = int(total - year * 12) + 1;
  return DayFromCivil(year, month, std::min(date.day, MonthLength(year, month)));
}

}  // namespace

bool IsLeapYear(int year) { return IsLeap(year); }

int DaysInMonth(int year, int month) {
  if (month < 1 || month > 12) throw std::invalid_argument("Invalid month");
  return int(MonthLength(year, month));
}

double EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    throw std::invalid_argument("Invalid argument to date encode");
  return double(DayFromCivil(year, month, day));
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    throw std::invalid_argument("Invalid argument to time encode");
  const int64_t ms = ((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
  return double(ms) / double(kMillisecondsPerDay);
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                      int millisecond) {
  return CombineDateTime(EncodeDate(year, month, day),
                         EncodeTime(hour, minute, second, millisecond));
}

DateParts DecodeDate(double dateTime) {
  const Civil civil = CivilFromDay(ToInstant(dateTime).day);
  return {int(civil.year), civil.month, int(civil.day)};
}

TimeParts DecodeTime(double dateTime) {
  const int64_t ms = ToInstant(dateTime).ms;
  return {int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60), int(ms % 1000)};
}

double DateOf(double dateTime) { return std::trunc(dateTime); }

double TimeOf(double dateTime) { return std::fabs(dateTime - std::trunc(dateTime)); }

double CombineDateTime(double date, double timeOfDay) {
  return date >= 0 ? date + timeOfDay : date - timeOfDay;
}

int DayOfWeek(double dateTime) {
  // Day 0, 1899-12-30, was a Saturday.
  const int64_t day = ToInstant(dateTime).day;
  return int(((day % 7) + 13) % 7) + 1;
}

double IncMonth(double dateTime, int months) {
  // Far outside any calendar (or NaN): there is no month to move by.
  if (!(std::fabs(dateTime) < 1e11)) return dateTime;
  const double day = DateOf(dateTime);
  const int64_t moved = AddMonths(CivilFromDay(int64_t(day)), months);
  return CombineDateTime(double(moved), TimeOf(dateTime));
}

double IncYear(double dateTime, int years) {
  if (!(std::fabs(dateTime) < 1e11)) return dateTime;
  const double day = DateOf(dateTime);
  const int64_t moved = AddMonths(CivilFromDay(int64_t(day)), int64_t(years) * 12);
  return CombineDateTime(double(moved), TimeOf(dateTime));
}

int MonthsBetween(double a, double b) {
  const Instant from = ToInstant(a);
  const Instant to = ToInstant(b);
  if (to < from) return 0;
  const Civil start = CivilFromDay(from.day);
  const Civil end = CivilFromDay(to.day);
  auto after = [&](int64_t months) { return Instant{AddMonths(start, months), from.ms}; };
  // The calendar difference is right or one too many (the day or the time
  // of day of `b` is earlier than that of `a`); the loops settle both cases.
  int64_t months = (end.year - start.year) * 12 + (end.month - start.month);
  while (months > 0 && after(months) > to) --months;
  while (after(months + 1) <= to) ++months;
  return int(months);
}

int YearsBetween(double a, double b) { return MonthsBetween(a, b) / 12; }

}  // namespace vellumio
