// Whether the user's clock runs to 24 hours, judged once from the system's
// long time format: times print as "hh:mm" then, else as "hh:mma/p".
#pragma once

#include <string_view>

namespace vellumio {

// A time formatted with the long time format shows no AM/PM designator
// (none of the letters a, p, A, P).
bool IsTwentyFourHourTime(std::u16string_view formattedTime);

// Fixed on the first call, from the current time in the long time format.
bool Use24HourClock();

}  // namespace vellumio
