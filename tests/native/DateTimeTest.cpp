#include "base/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

namespace vellumio {
namespace {

double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return EncodeDateTime(y, mo, d, h, mi, s, ms);
}

void ExpectDate(double t, int y, int mo, int d) {
  const DateParts p = DecodeDate(t);
  EXPECT_EQ(p.year, y) << t;
  EXPECT_EQ(p.month, mo) << t;
  EXPECT_EQ(p.day, d) << t;
}

void ExpectTime(double t, int h, int mi, int s, int ms) {
  const TimeParts p = DecodeTime(t);
  EXPECT_EQ(p.hour, h) << t;
  EXPECT_EQ(p.minute, mi) << t;
  EXPECT_EQ(p.second, s) << t;
  EXPECT_EQ(p.millisecond, ms) << t;
}

TEST(DateTime, KnownDayNumbers) {
  struct Case {
    int y, m, d;
    double days;
  } cases[] = {
      {1899, 12, 30, 0},   {1899, 12, 31, 1},       {1900, 1, 1, 2},       {1900, 3, 1, 61},
      {1970, 1, 1, 25569}, {2000, 1, 1, 36526},     {2024, 2, 29, 45351},  {1899, 12, 29, -1},
      {1, 1, 1, -693593},  {9999, 12, 31, 2958465}, {1600, 3, 1, -109511},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.days) << c.y << "-" << c.m << "-" << c.d;
    ExpectDate(c.days, c.y, c.m, c.d);
  }
}

TEST(DateTime, EveryDayRoundTrips) {
  // Every day of the calendar decodes to a valid date that encodes back to
  // the same number, and consecutive days are consecutive dates.
  DateParts previous = DecodeDate(-693593);
  for (int day = -693592; day <= 2958465; ++day) {
    const DateParts p = DecodeDate(day);
    ASSERT_EQ(EncodeDate(p.year, p.month, p.day), day);
    const bool nextDay = p.day == previous.day + 1 && p.month == previous.month;
    const bool nextMonth = p.day == 1 && (p.month == previous.month + 1 ||
                                          (p.month == 1 && p.year == previous.year + 1));
    ASSERT_TRUE(nextDay || nextMonth) << day;
    previous = p;
  }
}

TEST(DateTime, NegativeValuesKeepTheTimeOfDayPositive) {
  EXPECT_EQ(At(1899, 12, 29, 6), -1.25);
  ExpectDate(-1.25, 1899, 12, 29);
  ExpectTime(-1.25, 6, 0, 0, 0);
  EXPECT_EQ(DateOf(-1.25), -1);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
  EXPECT_EQ(CombineDateTime(-1, 0.25), -1.25);
  EXPECT_EQ(CombineDateTime(3, 0.25), 3.25);
  // 1899-12-29 18:00 and 1899-12-30 18:00 are -1.75 and 0.75.
  ExpectTime(-1.75, 18, 0, 0, 0);
  ExpectDate(-1.75, 1899, 12, 29);
  ExpectDate(0.75, 1899, 12, 30);
}

TEST(DateTime, RandomDateTimesRoundTrip) {
  std::mt19937 rng(20240305);
  std::uniform_int_distribution<int> year(1, 9999), month(1, 12), hour(0, 23), minute(0, 59),
      ms(0, 999);
  for (int i = 0; i < 20000; ++i) {
    const int y = year(rng), mo = month(rng);
    const int d = std::uniform_int_distribution<int>(1, DaysInMonth(y, mo))(rng);
    const int h = hour(rng), mi = minute(rng), s = minute(rng), z = ms(rng);
    const double t = At(y, mo, d, h, mi, s, z);
    ExpectDate(t, y, mo, d);
    ExpectTime(t, h, mi, s, z);
    ASSERT_FALSE(testing::Test::HasFailure())
        << y << "-" << mo << "-" << d << " " << h << ":" << mi;
  }
}

TEST(DateTime, MillisecondRoundingCarriesIntoTheDate) {
  const double day = EncodeDate(2024, 3, 10);
  const double almostMidnight = (86399999.6) / 86400000.0;  // 23:59:59.9996
  ExpectTime(day + almostMidnight, 0, 0, 0, 0);
  ExpectDate(day + almostMidnight, 2024, 3, 11);
  ExpectTime(day + 86399999.4 / 86400000.0, 23, 59, 59, 999);
  ExpectDate(day + 86399999.4 / 86400000.0, 2024, 3, 10);
  // The same just before midnight on a negative day: it carries to day 0.
  ExpectDate(-1 - almostMidnight, 1899, 12, 30);
  ExpectTime(-1 - almostMidnight, 0, 0, 0, 0);
  // Year end carries into the next year.
  ExpectDate(EncodeDate(2023, 12, 31) + almostMidnight, 2024, 1, 1);
}

TEST(DateTime, DamagedValuesDecodeInsideTheCalendar) {
  ExpectDate(1e300, 9999, 12, 31);
  ExpectDate(-1e300, 1, 1, 1);
  ExpectDate(std::numeric_limits<double>::infinity(), 9999, 12, 31);
  ExpectDate(std::nan(""), 1899, 12, 30);
  EXPECT_GE(DayOfWeek(std::nan("")), 1);
  EXPECT_TRUE(std::isnan(IncMonth(std::nan(""), 1)));
  EXPECT_EQ(IncMonth(1e300, 1), 1e300);
}

TEST(DateTime, InvalidPartsThrow) {
  EXPECT_THROW(EncodeDate(2023, 2, 29), std::invalid_argument);
  EXPECT_THROW(EncodeDate(1900, 2, 29), std::invalid_argument);
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  EXPECT_THROW(EncodeDate(0, 1, 1), std::invalid_argument);
  EXPECT_THROW(EncodeDate(10000, 1, 1), std::invalid_argument);
  EXPECT_THROW(EncodeDate(2023, 13, 1), std::invalid_argument);
  EXPECT_THROW(EncodeDate(2023, 4, 31), std::invalid_argument);
  EXPECT_THROW(EncodeDate(2023, 4, 0), std::invalid_argument);
  EXPECT_THROW(EncodeTime(24, 0, 0), std::invalid_argument);
  EXPECT_THROW(EncodeTime(0, 60, 0), std::invalid_argument);
  EXPECT_THROW(EncodeTime(0, 0, 60), std::invalid_argument);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), std::invalid_argument);
  EXPECT_THROW(EncodeTime(-1, 0, 0), std::invalid_argument);
}

TEST(DateTime, LeapYears) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 4), 30);
  EXPECT_EQ(DaysInMonth(2023, 12), 31);
}

TEST(DateTime, DayOfWeekOfKnownDates) {
  struct Case {
    double t;
    int weekday;
  } cases[] = {
      {0, 7},                       // 1899-12-30, Saturday
      {1, 1},                       // Sunday
      {-1.5, 6},                    // 1899-12-29 12:00, Friday
      {At(1970, 1, 1), 5},          // Thursday
      {At(2000, 1, 1, 23, 59), 7},  // Saturday
      {At(2024, 2, 29, 12), 5},     // Thursday
      {At(2024, 3, 3), 1},          // Sunday
      {At(1, 1, 1), 2},             // Monday
      {At(1815, 6, 18), 1},         // Sunday
  };
  for (const Case& c : cases) EXPECT_EQ(DayOfWeek(c.t), c.weekday) << c.t;
}

TEST(DateTime, IncMonthLimitsTheDayAndKeepsTheTime) {
  struct Case {
    double from;
    int months;
    double expected;
  } cases[] = {
      {At(2023, 1, 31, 9, 30), 1, At(2023, 2, 28, 9, 30)},
      {At(2024, 1, 31, 9, 30), 1, At(2024, 2, 29, 9, 30)},
      {At(2023, 1, 31, 9, 30), 2, At(2023, 3, 31, 9, 30)},
      {At(2023, 1, 31), 13, At(2024, 2, 29)},
      {At(2024, 3, 31, 23, 59, 59, 999), -1, At(2024, 2, 29, 23, 59, 59, 999)},
      {At(2024, 1, 15), -1, At(2023, 12, 15)},
      {At(2024, 1, 15), -25, At(2021, 12, 15)},
      {At(2023, 12, 31), 1, At(2024, 1, 31)},
      {At(2024, 5, 31), 0, At(2024, 5, 31)},
      {At(1899, 12, 29, 6), 1, At(1900, 1, 29, 6)},
      {At(1900, 1, 29, 6), -1, At(1899, 12, 29, 6)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IncMonth(c.from, c.months), c.expected) << c.from << " " << c.months;

  EXPECT_EQ(IncYear(At(2024, 2, 29, 8), 1), At(2025, 2, 28, 8));
  EXPECT_EQ(IncYear(At(2024, 2, 29, 8), 4), At(2028, 2, 29, 8));
  EXPECT_EQ(IncYear(At(2024, 2, 29), -100), At(1924, 2, 29));
  EXPECT_EQ(IncYear(At(2000, 2, 29), 100), At(2100, 2, 28));
}

TEST(DateTime, MonthsBetweenCountsWholeCalendarMonths) {
  const double jan31 = At(2023, 1, 31, 9);
  struct Case {
    double a, b;
    int months;
  } cases[] = {
      {jan31, jan31, 0},
      {jan31, At(2023, 2, 27, 23), 0},
      {jan31, At(2023, 2, 28, 8, 59, 59, 999), 0},
      {jan31, At(2023, 2, 28, 9), 1},
      {jan31, At(2023, 3, 30, 23), 1},
      {jan31, At(2023, 3, 31, 9), 2},
      {jan31, At(2024, 1, 31, 8), 11},
      {jan31, At(2024, 1, 31, 9), 12},
      {jan31, At(2022, 12, 1), 0},  // b before a
      {At(2023, 3, 15, 12), At(2023, 4, 15, 11), 0},
      {At(2023, 3, 15, 12), At(2023, 4, 15, 12), 1},
      {At(2020, 2, 29), At(2021, 2, 27), 11},
      {At(2020, 2, 29), At(2021, 2, 28), 12},
      {At(1899, 12, 29, 6), At(1900, 1, 29, 6), 1},
      {At(1, 1, 1), At(9999, 12, 31), 119987},
  };
  for (const Case& c : cases) EXPECT_EQ(MonthsBetween(c.a, c.b), c.months) << c.a << " " << c.b;

  EXPECT_EQ(YearsBetween(At(2020, 2, 29), At(2021, 2, 27)), 0);
  EXPECT_EQ(YearsBetween(At(2020, 2, 29), At(2021, 2, 28)), 1);
  EXPECT_EQ(YearsBetween(At(2020, 2, 29), At(2024, 2, 28)), 3);
  EXPECT_EQ(YearsBetween(At(2020, 2, 29), At(2024, 2, 29)), 4);
}

TEST(DateTime, MonthsBetweenAgreesWithIncMonth) {
  // The definition itself, checked on random pairs: IncMonth(a, k) <= b and
  // IncMonth(a, k + 1) > b.
  std::mt19937 rng(31);
  std::uniform_real_distribution<double> start(30000, 60000), span(0, 2000);
  for (int i = 0; i < 20000; ++i) {
    const double a = std::round(start(rng) * 86400) / 86400;  // whole seconds
    const double b = a + std::round(span(rng) * 86400) / 86400;
    const int k = MonthsBetween(a, b);
    ASSERT_LE(IncMonth(a, k), b) << a << " " << b;
    ASSERT_GT(IncMonth(a, k + 1), b) << a << " " << b;
  }
}

}  // namespace
}  // namespace vellumio
