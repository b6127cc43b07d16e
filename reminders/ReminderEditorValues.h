// The reminder editor's controls as plain values: how a reminder task is
// loaded into them and saved back, the order of the weekday list and the
// preview of the next time. The dialog only moves these values to and from
// its controls.
#pragma once

#include <string>
#include <vector>

namespace vellumio {

class TReminderTask;

// One item of the weekday list: the reminder's day number (Sunday 1 ...
// Saturday 7) and whether it is ticked.
struct TWeekdayItem {
  int day = 1;
  bool checked = false;
};

// The day numbers in the order the list shows them: the week of the user's
// locale, whose first day is `firstDayOfWeek` (0 Monday ... 6 Sunday, as
// the locale gives it).
std::vector<int> WeekdayOrder(int firstDayOfWeek);
// The locale's first-day value; text that is not a number counts as 0.
int ParseFirstDayOfWeek(const std::u16string& text);

struct TReminderEditorValues {
  bool active = false;
  double startDate = 0;  // the date picker (its time of day is ignored)
  double startTime = 0;  // the time picker (its date is ignored)
  int kind = 0;
  int interval = 1;
  int unit = 2;
  bool runProgram = false;
  std::string programPath;
  bool playSound = false;
  std::string soundFile;
  bool repeatSound = false;
  std::vector<TWeekdayItem> weekdays;  // in list order

  // Loads the schedule and actions, with the weekday list in the order of
  // `firstDayOfWeek`. Only the note's own reminder (`own`) brings its
  // enabled flag and start time; the default reminder leaves them.
  void LoadFrom(const TReminderTask& task, int firstDayOfWeek, bool own);
  // Saves through the task's setters (so it is marked modified only where
  // a value really changed); the note's own reminder is rescheduled, which
  // switches it off when it has no next time.
  void SaveTo(TReminderTask& task, bool own) const;
  // The start as one date-time: the picker's date and the time of day.
  double Start() const;
  // The next alarm time these values give (0 for none), the interval
  // limited to 1 ... 999 as the spin control limits it.
  double PreviewTime() const;
};

}  // namespace vellumio
