#include "config/ClockStyle.h"

#include "base/DateFormat.h"
#include "platform/Platform.h"

namespace vellumio {

bool IsTwentyFourHourTime(std::u16string_view formattedTime) {
  return formattedTime.find_first_of(u"apAP") == std::u16string_view::npos;
}

bool Use24HourClock() {
  static const bool use24 = IsTwentyFourHourTime(
      FormatDateTime(FormatSettings::System().longTimeFormat, platform::LocalNow()));
  return use24;
}

}  // namespace vellumio
