// What the reminder alert does to the reminder once the user has answered:
// confirm (the next occurrence), snooze (five minutes to six months), edit
// or switch off.
#pragma once

namespace vellumio {

class TReminderTask;

enum TAlertResult : int {
  kAlertNone = 0,
  kAlertOk = 1,
  kAlertSnooze = 2,
  kAlertEdited = 3,
  kAlertDisabled = 4,
};

// The snooze menu's tags: 1 five minutes ... 10 six months.
inline constexpr int kSnoozeTagFirst = 1;
inline constexpr int kSnoozeTagLast = 10;

// The time a snooze with `tag` wakes the reminder again; the snooze button
// (tag 0) and any tag the menu does not have (only 1 is five minutes
// there too) mean five minutes. Months are calendar months, so a month
// from 31 January is the last day of February.
double SnoozeTime(int tag, double now);

// Applies the user's answer to the reminder at the program's current time.
void ApplyAlertResult(TReminderTask& reminder, int result, int snoozeTag);

}  // namespace vellumio
