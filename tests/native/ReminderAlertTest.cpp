// The reminder scan, the alert's answers and the editor's values, against a
// fixed clock.
#include <gtest/gtest.h>

#include <vector>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "reminders/AlertResult.h"
#include "reminders/ReminderEditorValues.h"
#include "reminders/ReminderScan.h"
#include "reminders/ReminderTask.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio {
namespace {

double At(int y, int mo, int d, int h = 0, int mi = 0) { return EncodeDateTime(y, mo, d, h, mi, 0); }

const double kNow = At(2024, 5, 10, 12, 0);
const double kMinute = 1.0 / 1440;

// A note whose reminder is active with the given next time.
TNoteItem* AddReminder(TNotesList& list, double next, bool active = true) {
  TNoteItem* note = list.Add();
  note->Reminder().SetNextTime(next);
  note->Reminder().SetActive(active);
  return note;
}

TEST(ReminderScan, FindsTheFirstDueNoteInListOrderAndSwitchesOffThoseWithoutNextTime) {
  FixedClock clock(kNow);
  TNoteListCollection database(true);
  TNotesList& first = *database.List(0);
  TNotesList& second = *database.AddList();
  TNoteItem* none = AddReminder(first, 0);
  AddReminder(first, kNow + kMinute);                      // pending, not due
  AddReminder(first, kNow - 10 * kMinute, false);          // due time passed, but off
  TNoteItem* due = AddReminder(second, kNow - kMinute);    // due
  TNoteItem* later = AddReminder(second, kNow - 60 * kMinute);  // due longer, but after it

  EXPECT_EQ(TReminderScan::FindDue(database, true), nullptr);  // a modal window is open
  EXPECT_TRUE(none->Reminder().Active());                       // and nothing was touched

  EXPECT_EQ(TReminderScan::FindDue(database, false), due);
  EXPECT_FALSE(none->Reminder().Active());
  // One alert per scan: the other due note waits for the next one.
  due->Reminder().SetActive(false);
  EXPECT_EQ(TReminderScan::FindDue(database, false), later);
  later->Reminder().SetNextTime(kNow + kMinute);
  EXPECT_EQ(TReminderScan::FindDue(database, false), nullptr);
  clock.Advance(kMinute);  // due at the exact instant
  EXPECT_NE(TReminderScan::FindDue(database, false), nullptr);
}

TEST(ReminderScan, TheAlertsNoteIsFoundAgainOnlyWhileItExists) {
  TNoteListCollection database;  // the main one, which hands out identities
  TNotesList& other = *database.AddList();
  TNoteItem* kept = AddReminder(*database.List(0), kNow);
  TNoteItem* deleted = AddReminder(*database.List(0), kNow);
  TNoteItem* withList = AddReminder(other, kNow);
  const int32_t keptUid = kept->GetUID(), deletedUid = deleted->GetUID(),
                listUid = withList->GetUID();
  database.List(0)->Delete(database.List(0)->IndexOf(deleted));
  database.DeleteList(1);
  EXPECT_EQ(TReminderScan::FindNote(database, keptUid), kept);
  EXPECT_EQ(TReminderScan::FindNote(database, deletedUid), nullptr);
  EXPECT_EQ(TReminderScan::FindNote(database, listUid), nullptr);
  EXPECT_EQ(TReminderScan::FindNote(database, 0), nullptr);
}

TEST(AlertResult, SnoozeTagsFromFiveMinutesToSixMonths) {
  const double jan31 = At(2023, 1, 31, 9, 30);
  const double feb29 = At(2024, 2, 29, 9, 30);
  struct Case {
    int tag;
    double now, expected;
  } cases[] = {
      {0, kNow, kNow + 5 * kMinute},     {1, kNow, kNow + 5 * kMinute},
      {2, kNow, kNow + 30 * kMinute},    {3, kNow, kNow + 0.125},
      {4, kNow, kNow + 0.25},            {5, kNow, kNow + 1},
      {6, kNow, kNow + 3},               {7, kNow, kNow + 7},
      {8, jan31, At(2023, 2, 28, 9, 30)}, {8, feb29, At(2024, 3, 29, 9, 30)},
      {9, jan31, At(2023, 4, 30, 9, 30)}, {10, feb29, At(2024, 8, 29, 9, 30)},
      {11, kNow, kNow + 5 * kMinute},    {-1, kNow, kNow + 5 * kMinute},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(SnoozeTime(c.tag, c.now), c.expected, 1e-9) << "tag " << c.tag;
    FixedClock clock(c.now);
    TReminderTask task(true);
    task.SetActive(true);
    ApplyAlertResult(task, kAlertSnooze, c.tag);
    EXPECT_NEAR(task.NextTime(), c.expected, 1e-9) << "tag " << c.tag;
    EXPECT_TRUE(task.Active());
  }
}

TEST(AlertResult, OkDisableAndEdited) {
  FixedClock clock(kNow);
  TReminderTask once(true);
  once.SetStartTime(kNow - kMinute);
  once.SetNextTime(kNow - kMinute);
  once.SetActive(true);
  ApplyAlertResult(once, kAlertOk, 0);
  EXPECT_FALSE(once.Active());
  EXPECT_EQ(once.NextTime(), 0);

  TReminderTask daily(true);  // every 2 days from yesterday 12:00
  daily.SetKind(TReminderTask::kEvery);
  daily.SetInterval(2);
  daily.SetStartTime(kNow - 1);
  daily.SetNextTime(kNow - 1);
  daily.SetActive(true);
  ApplyAlertResult(daily, kAlertOk, 0);
  EXPECT_TRUE(daily.Active());
  EXPECT_NEAR(daily.NextTime(), kNow + 1, 1e-9);

  ApplyAlertResult(daily, kAlertEdited, 0);  // the editor's own result stays
  EXPECT_NEAR(daily.NextTime(), kNow + 1, 1e-9);
  ApplyAlertResult(daily, kAlertDisabled, 0);
  EXPECT_FALSE(daily.Active());
}

TEST(ReminderEditorValues, WeekdayListFollowsTheLocaleAndSavesTheRightFlags) {
  EXPECT_EQ(WeekdayOrder(0), (std::vector<int>{2, 3, 4, 5, 6, 7, 1}));  // Monday first
  EXPECT_EQ(WeekdayOrder(6), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));  // Sunday first
  EXPECT_EQ(ParseFirstDayOfWeek(u"6"), 6);
  EXPECT_EQ(ParseFirstDayOfWeek(u"x"), 0);
  EXPECT_EQ(ParseFirstDayOfWeek(u""), 0);

  FixedClock clock(kNow);
  TReminderTask task(true);  // Monday to Friday
  TReminderEditorValues values;
  values.LoadFrom(task, 6, true);
  ASSERT_EQ(values.weekdays.size(), 7u);
  EXPECT_EQ(values.weekdays[0].day, 1);  // Sunday first, unticked
  EXPECT_FALSE(values.weekdays[0].checked);
  EXPECT_TRUE(values.weekdays[1].checked);  // Monday
  values.weekdays[0].checked = true;        // tick Sunday
  values.weekdays[5].checked = false;       // untick Friday
  values.kind = TReminderTask::kDaily;
  values.active = true;
  values.SaveTo(task, true);
  EXPECT_TRUE(task.Weekday(1));
  EXPECT_FALSE(task.Weekday(6));
  EXPECT_TRUE(task.Weekday(2));
  EXPECT_TRUE(task.Active());
  EXPECT_GT(task.NextTime(), kNow);
}

TEST(ReminderEditorValues, LoadSaveAndPreview) {
  FixedClock clock(kNow);
  TReminderTask task(true);
  task.SetStartTime(At(2024, 5, 9, 8, 15));
  task.SetActive(true);
  task.SetPlaySound(true);
  task.SetSoundFile("C:\\bell.wav");
  TReminderEditorValues values;
  values.LoadFrom(task, 0, true);
  EXPECT_TRUE(values.active);
  EXPECT_EQ(values.soundFile, "C:\\bell.wav");
  // A once reminder in the past has no next time, and OK switches it off.
  EXPECT_EQ(values.PreviewTime(), 0);
  values.SaveTo(task, true);
  EXPECT_FALSE(task.Active());

  values.startTime = EncodeTime(15, 0, 0);  // today 15:00 on yesterday's date...
  values.startDate = At(2024, 5, 10, 23, 59);  // ...moved to today (its time ignored)
  EXPECT_NEAR(values.Start(), At(2024, 5, 10, 15, 0), 1e-9);
  EXPECT_NEAR(values.PreviewTime(), At(2024, 5, 10, 15, 0), 1e-9);
  values.interval = 5000;  // the spin control's limit holds
  values.kind = TReminderTask::kOnceIn;
  EXPECT_NEAR(values.PreviewTime(), At(2024, 5, 10, 15, 0) + 999, 1e-9);
  values.active = true;
  values.SaveTo(task, true);
  EXPECT_TRUE(task.Active());
  EXPECT_EQ(task.Interval(), 999);

  // The default reminder keeps the note's enabled flag and start time out.
  TReminderTask defaults(true);
  defaults.SetKind(TReminderTask::kDaily);
  defaults.SetStartTime(At(2000, 1, 1));
  values.LoadFrom(defaults, 0, false);
  EXPECT_EQ(values.kind, TReminderTask::kDaily);
  EXPECT_TRUE(values.active);
  EXPECT_NEAR(values.Start(), At(2024, 5, 10, 15, 0), 1e-9);
}

}  // namespace
}  // namespace vellumio
