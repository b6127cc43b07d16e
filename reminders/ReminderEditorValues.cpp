#include "reminders/ReminderEditorValues.h"

#include <algorithm>

#include "base/DateTime.h"
#include "reminders/ReminderTask.h"

namespace vellumio {

namespace {

constexpr int kMaxInterval = 999;

// Locale day 0 (Monday) ... 6 (Sunday) in the reminder's numbering.
int ReminderDay(int localeDay) { return localeDay == 6 ? 1 : localeDay + 2; }

void CopySchedule(const TReminderEditorValues& v, TReminderTask& task) {
  task.SetStartTime(v.Start());
  task.SetKind(v.kind);
  task.SetInterval(std::clamp(v.interval, 1, kMaxInterval));
  task.SetIntervalUnit(v.unit);
  for (const TWeekdayItem& item : v.weekdays) task.SetWeekday(item.day, item.checked);
}

}  // namespace

std::vector<int> WeekdayOrder(int firstDayOfWeek) {
  if (firstDayOfWeek < 0 || firstDayOfWeek > 6) firstDayOfWeek = 0;
  std::vector<int> days;
  for (int i = 0; i < 7; ++i) days.push_back(ReminderDay((firstDayOfWeek + i) % 7));
  return days;
}

int ParseFirstDayOfWeek(const std::u16string& text) {
  if (text.empty()) return 0;
  int value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return 0;
    value = value * 10 + (c - u'0');
    if (value > 6) return 0;
  }
  return value;
}

void TReminderEditorValues::LoadFrom(const TReminderTask& task, int firstDayOfWeek, bool own) {
  weekdays.clear();
  for (int day : WeekdayOrder(firstDayOfWeek)) weekdays.push_back({day, task.Weekday(day)});
  kind = task.GetKind();
  interval = task.Interval();
  unit = task.IntervalUnit();
  runProgram = task.RunProgram();
  programPath = task.ProgramPath();
  playSound = task.PlaySound();
  soundFile = task.SoundFile();
  repeatSound = task.RepeatSound();
  if (own) {
    active = task.Active();
    startDate = DateOf(task.StartTime());
    startTime = TimeOf(task.StartTime());
  }
}

void TReminderEditorValues::SaveTo(TReminderTask& task, bool own) const {
  task.SetActive(active);
  CopySchedule(*this, task);
  task.SetRunProgram(runProgram);
  task.SetProgramPath(programPath);
  task.SetPlaySound(playSound);
  task.SetSoundFile(soundFile);
  task.SetRepeatSound(repeatSound);
  if (own) task.Reschedule();
}

double TReminderEditorValues::Start() const {
  return CombineDateTime(DateOf(startDate), TimeOf(startTime));
}

double TReminderEditorValues::PreviewTime() const {
  TReminderTask preview(true);
  CopySchedule(*this, preview);
  return preview.ComputeNextTime();
}

}  // namespace vellumio
