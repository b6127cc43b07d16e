// Calendar arithmetic shared by the two platform layers. The platform
// library sits below the core, so it cannot use base/DateTime; these few
// inline helpers are all the clock and file-time conversions need.
#pragma once

#include <cmath>
#include <cstdint>

namespace vellumio::platform::detail {

// Days from 1970-01-01 to the given proleptic Gregorian date.
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
  int64_t year;
  unsigned month, day;
};

// The inverse of DaysFromCivil.
constexpr Civil CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 as a date-time
constexpr double kMsPerDay = 86400000.0;

// Stored date-times before 1899-12-30 keep a positive time of day after a
// negative day count (-1.25 is 1899-12-29 06:00). Converting to a plain
// linear day count first keeps the arithmetic below monotonic.
inline double ToLinearDays(double dateTime) {
  if (dateTime >= 0) return dateTime;
  const double day = std::trunc(dateTime);
  return day + (day - dateTime);
}

inline double FromLinearDays(double linear) {
  if (linear >= 0) return linear;
  const double day = std::floor(linear);
  return day - (linear - day);
}

// Milliseconds since 1970-01-01 00:00 of the same clock <-> date-time.
inline int64_t DateTimeToUnixMs(double dateTime) {
  return static_cast<int64_t>(
      std::llround((ToLinearDays(dateTime) - static_cast<double>(kUnixEpochDays)) * kMsPerDay));
}

inline double UnixMsToDateTime(int64_t ms) {
  // Whole days and the remaining milliseconds separately, so that the time of
  // day is exact to the millisecond however far the date is from 1970.
  int64_t days = ms / 86400000;
  int64_t rest = ms % 86400000;
  if (rest < 0) {
    rest += 86400000;
    --days;
  }
  const double linear =
      static_cast<double>(days + kUnixEpochDays) + static_cast<double>(rest) / kMsPerDay;
  return FromLinearDays(linear);
}

// A broken-down wall-clock time as a date-time.
inline double CivilToDateTime(int64_t year, unsigned month, unsigned day, unsigned hour,
                              unsigned minute, unsigned second, unsigned ms) {
  const int64_t days = DaysFromCivil(year, month, day);
  const int64_t msOfDay = ((hour * 60 + minute) * 60 + second) * 1000LL + ms;
  return UnixMsToDateTime(days * 86400000 + msOfDay);
}

// A date-time taken apart into its calendar fields.
struct CivilTime {
  Civil date;
  unsigned hour, minute, second, millisecond;
};

inline CivilTime SplitDateTime(double dateTime) {
  const int64_t ms = DateTimeToUnixMs(dateTime);
  int64_t days = ms / 86400000;
  int64_t msOfDay = ms % 86400000;
  if (msOfDay < 0) {
    msOfDay += 86400000;
    --days;
  }
  return {CivilFromDays(days), static_cast<unsigned>(msOfDay / 3600000),
          static_cast<unsigned>(msOfDay / 60000 % 60), static_cast<unsigned>(msOfDay / 1000 % 60),
          static_cast<unsigned>(msOfDay % 1000)};
}

}  // namespace vellumio::platform::detail
