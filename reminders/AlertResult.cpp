#include "reminders/AlertResult.h"

#include "base/Clock.h"
#include "base/DateTime.h"
#include "reminders/ReminderTask.h"

namespace vellumio {

double SnoozeTime(int tag, double now) {
  switch (tag) {
    case 2: return now + 30.0 / kMinutesPerDay;
    case 3: return now + 0.125;
    case 4: return now + 0.25;
    case 5: return now + 1;
    case 6: return now + 3;
    case 7: return now + 7;
    case 8: return IncMonth(now, 1);
    case 9: return IncMonth(now, 3);
    case 10: return IncMonth(now, 6);
    default: return now + 5.0 / kMinutesPerDay;
  }
}

void ApplyAlertResult(TReminderTask& reminder, int result, int snoozeTag) {
  switch (result) {
    case kAlertOk:
      reminder.Reschedule();
      if (reminder.NextTime() == 0) reminder.SetActive(false);
      break;
    case kAlertEdited:
      break;  // the editor has stored the reminder already
    case kAlertDisabled:
      reminder.SetActive(false);
      break;
    default:
      // Snoozed, or closed without an answer: it comes back, still active.
      reminder.SetNextTime(SnoozeTime(snoozeTag, Now()));
      break;
  }
}

}  // namespace vellumio
