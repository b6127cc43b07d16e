#include "reminders/ReminderTask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HandBytes.h"
#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "store/StoreHost.h"

namespace vellumio {
namespace {

using test::HandBytes;

double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return EncodeDateTime(y, mo, d, h, mi, s);
}

// Installs a user default for the life of the guard.
class ScopedUserDefault {
public:
  explicit ScopedUserDefault(const TReminderTask& task) { TReminderTask::SetUserDefault(&task); }
  ~ScopedUserDefault() { TReminderTask::SetUserDefault(nullptr); }
};

TReminderTask Scheduled(int32_t kind, int32_t unit, int32_t interval, double start) {
  TReminderTask task(true);
  task.SetKind(kind);
  task.SetIntervalUnit(unit);
  task.SetInterval(interval);
  task.SetStartTime(start);
  task.SetActive(true);
  return task;
}

TReminderTask DailyAt(double start, std::initializer_list<int> days) {
  TReminderTask task = Scheduled(TReminderTask::kDaily, TReminderTask::kDays, 1, start);
  for (int d = 1; d <= 7; ++d) task.SetWeekday(d, false);
  for (int d : days) task.SetWeekday(d, true);
  return task;
}

TEST(ReminderTask, BuiltInInitialValues) {
  FixedClock clock(At(2024, 3, 5, 14, 7));
  TReminderTask task(true);
  EXPECT_FALSE(task.Active());
  EXPECT_FALSE(task.RunProgram());
  EXPECT_FALSE(task.PlaySound());
  EXPECT_FALSE(task.RepeatSound());
  EXPECT_EQ(task.GetKind(), TReminderTask::kOnce);
  EXPECT_EQ(task.IntervalUnit(), TReminderTask::kDays);
  EXPECT_EQ(task.Interval(), 1);
  EXPECT_EQ(task.ProgramPath(), "");
  EXPECT_EQ(task.SoundFile(), "");
  EXPECT_EQ(task.StartTime(), clock.Get());
  EXPECT_EQ(task.NextTime(), 0);
  EXPECT_EQ(task.Reserved1(), 0);
  EXPECT_EQ(task.Reserved2(), 5);
  EXPECT_FALSE(task.Modified());
  const bool workingDays[7] = {false, true, true, true, true, true, false};
  for (int d = 1; d <= 7; ++d) EXPECT_EQ(task.Weekday(d), workingDays[d - 1]) << d;
}

TEST(ReminderTask, NewTasksCopyTheUserDefault) {
  FixedClock clock(At(2024, 3, 5, 14, 7));
  TReminderTask defaults(true);
  defaults.SetKind(TReminderTask::kDaily);
  defaults.SetIntervalUnit(TReminderTask::kHours);
  defaults.SetInterval(7);
  defaults.SetRunProgram(true);
  defaults.SetPlaySound(true);
  defaults.SetRepeatSound(true);
  defaults.SetProgramPath("calc.exe");
  defaults.SetSoundFile("bell.wav");
  defaults.SetWeekday(1, true);
  defaults.SetWeekday(2, false);
  defaults.SetActive(true);
  defaults.SetStartTime(At(2020, 1, 1));
  defaults.SetNextTime(At(2020, 1, 2));
  ScopedUserDefault installed(defaults);

  clock.Advance(1);
  TReminderTask task;
  EXPECT_EQ(task.GetKind(), TReminderTask::kDaily);
  EXPECT_EQ(task.IntervalUnit(), TReminderTask::kHours);
  EXPECT_EQ(task.Interval(), 7);
  EXPECT_TRUE(task.RunProgram());
  EXPECT_TRUE(task.PlaySound());
  EXPECT_TRUE(task.RepeatSound());
  EXPECT_EQ(task.ProgramPath(), "calc.exe");
  EXPECT_EQ(task.SoundFile(), "bell.wav");
  EXPECT_TRUE(task.Weekday(1));
  EXPECT_FALSE(task.Weekday(2));
  // Not copied: the alarm itself.
  EXPECT_FALSE(task.Active());
  EXPECT_EQ(task.StartTime(), clock.Get());
  EXPECT_EQ(task.NextTime(), 0);
  EXPECT_FALSE(task.Modified());

  // The default reminder itself, and any built-in task, ignores it.
  TReminderTask builtIn(true);
  EXPECT_EQ(builtIn.GetKind(), TReminderTask::kOnce);
  EXPECT_FALSE(builtIn.RepeatSound());
  defaults.Reset();
  EXPECT_EQ(defaults.GetKind(), TReminderTask::kOnce);
}

TEST(ReminderTask, SettersMarkOnlyRealChanges) {
  FixedClock clock(At(2024, 3, 5));
  TReminderTask task(true);
  task.SetKind(TReminderTask::kOnce);
  task.SetInterval(1);
  task.SetIntervalUnit(TReminderTask::kDays);
  task.SetActive(false);
  task.SetProgramPath("");
  task.SetStartTime(clock.Get());
  task.SetNextTime(0);
  task.SetWeekday(2, true);
  task.SetWeekday(1, false);
  EXPECT_FALSE(task.Modified());

  const auto changes = [&](auto change) {
    task.SetModified(false);
    change();
    return task.Modified();
  };
  EXPECT_TRUE(changes([&] { task.SetActive(true); }));
  EXPECT_TRUE(changes([&] { task.SetRunProgram(true); }));
  EXPECT_TRUE(changes([&] { task.SetPlaySound(true); }));
  EXPECT_TRUE(changes([&] { task.SetRepeatSound(true); }));
  EXPECT_TRUE(changes([&] { task.SetKind(TReminderTask::kEvery); }));
  EXPECT_TRUE(changes([&] { task.SetIntervalUnit(TReminderTask::kWeeks); }));
  EXPECT_TRUE(changes([&] { task.SetInterval(3); }));
  EXPECT_TRUE(changes([&] { task.SetProgramPath("a.exe"); }));
  EXPECT_TRUE(changes([&] { task.SetSoundFile("a.wav"); }));
  EXPECT_TRUE(changes([&] { task.SetStartTime(1.5); }));
  EXPECT_TRUE(changes([&] { task.SetNextTime(2.5); }));
  EXPECT_TRUE(changes([&] { task.SetWeekday(1, true); }));
  EXPECT_FALSE(changes([&] { task.SetActive(true); }));
  EXPECT_FALSE(changes([&] { task.SetSoundFile("a.wav"); }));
  EXPECT_FALSE(changes([&] { task.SetWeekday(1, true); }));
}

TEST(ReminderTask, WeekdayOutOfBounds) {
  TReminderTask task(true);
  for (int day : {0, 8, -1, 100}) {
    try {
      task.SetWeekday(day, true);
      ADD_FAILURE() << "SetWeekday(" << day << ") did not throw";
    } catch (const EListError& e) {
      EXPECT_STREQ(e.what(), "Out of bounds");
    }
    EXPECT_THROW(task.Weekday(day), EListError);
  }
  EXPECT_FALSE(task.Modified());
}

TEST(ReminderTask, OnceAndOnceIn) {
  FixedClock clock(At(2024, 3, 5, 12));
  TReminderTask past = Scheduled(TReminderTask::kOnce, TReminderTask::kDays, 1, At(2024, 3, 5, 11));
  EXPECT_EQ(past.ComputeNextTime(), 0);
  past.Reschedule();
  EXPECT_EQ(past.NextTime(), 0);
  EXPECT_FALSE(past.Active());

  TReminderTask future =
      Scheduled(TReminderTask::kOnce, TReminderTask::kDays, 1, At(2024, 3, 5, 13));
  future.Reschedule();
  EXPECT_EQ(future.NextTime(), At(2024, 3, 5, 13));
  EXPECT_TRUE(future.Active());

  // "Later than now": a once reminder exactly at now is already gone.
  EXPECT_EQ(Scheduled(TReminderTask::kOnce, TReminderTask::kDays, 1, clock.Get()).ComputeNextTime(),
            0);

  // Once in: StartTime + one interval, kept while not before now.
  const struct {
    int32_t unit, interval;
    double start, expected;
  } onceIn[] = {
      {TReminderTask::kHours, 2, At(2024, 3, 5, 11), At(2024, 3, 5, 13)},
      {TReminderTask::kDays, 1, At(2024, 3, 4, 12), At(2024, 3, 5, 12)},  // exactly now
      {TReminderTask::kMinutes, 30, At(2024, 3, 5, 11), 0},
      {TReminderTask::kWeeks, 1, At(2024, 3, 1), At(2024, 3, 8)},
      {TReminderTask::kMonths, 1, At(2024, 1, 31), 0},
      {TReminderTask::kMonths, 1, At(2024, 2, 29, 12), At(2024, 3, 29, 12)},
      {TReminderTask::kYears, 1, At(2023, 12, 31), At(2024, 12, 31)},
      {9, 1, At(2024, 3, 6), At(2024, 3, 6)},  // unknown unit: the start itself
  };
  for (const auto& c : onceIn) {
    TReminderTask task = Scheduled(TReminderTask::kOnceIn, c.unit, c.interval, c.start);
    EXPECT_NEAR(task.ComputeNextTime(), c.expected, 1e-8) << "unit " << c.unit;
  }
}

TEST(ReminderTask, EveryFollowsTheGridFromTheStart) {
  const struct {
    const char* what;
    int32_t unit, interval;
    double start, now, expected;
  } cases[] = {
      {"2 days, started 3 days ago", TReminderTask::kDays, 2, At(2024, 3, 2, 9), At(2024, 3, 5, 10),
       At(2024, 3, 6, 9)},
      {"on a grid point", TReminderTask::kDays, 2, At(2024, 3, 1, 9), At(2024, 3, 5, 9),
       At(2024, 3, 7, 9)},
      {"start in the future", TReminderTask::kDays, 2, At(2024, 3, 9, 9), At(2024, 3, 5, 10),
       At(2024, 3, 9, 9)},
      {"15 minutes, just before", TReminderTask::kMinutes, 15, At(2024, 3, 5, 9),
       At(2024, 3, 5, 9, 44, 59), At(2024, 3, 5, 9, 45)},
      {"15 minutes, on the point", TReminderTask::kMinutes, 15, At(2024, 3, 5, 9),
       At(2024, 3, 5, 9, 45), At(2024, 3, 5, 10)},
      {"7 minutes over days", TReminderTask::kMinutes, 7, At(2024, 3, 1), At(2024, 3, 5, 12),
       At(2024, 3, 5, 12, 2)},
      {"3 hours", TReminderTask::kHours, 3, At(2024, 3, 4, 23), At(2024, 3, 5, 12),
       At(2024, 3, 5, 14)},
      {"2 weeks", TReminderTask::kWeeks, 2, At(2024, 2, 1, 8), At(2024, 3, 5), At(2024, 3, 14, 8)},
      {"1 month from 31 January, in February", TReminderTask::kMonths, 1, At(2023, 1, 31, 9),
       At(2023, 2, 10), At(2023, 2, 28, 9)},
      {"1 month from 31 January, leap year", TReminderTask::kMonths, 1, At(2024, 1, 31, 9),
       At(2024, 2, 10), At(2024, 2, 29, 9)},
      {"1 month, on 28 February", TReminderTask::kMonths, 1, At(2023, 1, 31, 9), At(2023, 2, 28, 9),
       At(2023, 3, 28, 9)},
      {"3 months across 29 February", TReminderTask::kMonths, 3, At(2023, 11, 30, 8),
       At(2024, 3, 1), At(2024, 5, 29, 8)},
      {"12 months from 29 February", TReminderTask::kMonths, 12, At(2020, 2, 29, 10),
       At(2021, 3, 1), At(2022, 2, 28, 10)},
      {"1 year from 29 February", TReminderTask::kYears, 1, At(2020, 2, 29, 10), At(2021, 1, 1),
       At(2021, 2, 28, 10)},
      {"4 years from 29 February", TReminderTask::kYears, 4, At(2020, 2, 29, 10),
       At(2024, 2, 29, 11), At(2028, 2, 29, 10)},
      {"2 years, 3 whole years passed", TReminderTask::kYears, 2, At(2020, 2, 29, 10),
       At(2023, 6, 1), At(2024, 2, 28, 10)},
      {"interval 0", TReminderTask::kDays, 0, At(2024, 3, 1), At(2024, 3, 5), 0},
      {"negative interval", TReminderTask::kMonths, -2, At(2024, 3, 1), At(2024, 3, 5), 0},
      {"unknown unit", 6, 1, At(2024, 3, 1), At(2024, 3, 5), 0},
  };
  for (const auto& c : cases) {
    FixedClock clock(c.now);
    TReminderTask task = Scheduled(TReminderTask::kEvery, c.unit, c.interval, c.start);
    // Minute and hour steps are sums of fractions: equal to the millisecond.
    EXPECT_NEAR(task.ComputeNextTime(), c.expected, 1e-8) << c.what;
  }
}

TEST(ReminderTask, MonthEndRepetitionNeverFallsBehindNow) {
  // From 31 January the grid point of March is 28 February + one month =
  // 28 March; when that moment comes the next time must not be 28 March
  // again (the alert would come back at once) but 31 March.
  TReminderTask task =
      Scheduled(TReminderTask::kEvery, TReminderTask::kMonths, 1, At(2023, 1, 31, 9));
  FixedClock clock(At(2023, 3, 28, 9));
  EXPECT_EQ(task.ComputeNextTime(), At(2023, 3, 31, 9));
  clock.Set(At(2023, 3, 31, 9));
  EXPECT_EQ(task.ComputeNextTime(), At(2023, 4, 30, 9));

  // Firing and rescheduling over two years always moves forward.
  clock.Set(At(2023, 1, 31, 9));
  task.Reschedule();
  for (int fired = 0; fired < 24; ++fired) {
    ASSERT_GT(task.NextTime(), clock.Get());
    clock.Set(task.NextTime());
    task.Reschedule();
  }
}

TEST(ReminderTask, LastGridPoint) {
  TReminderTask task =
      Scheduled(TReminderTask::kEvery, TReminderTask::kHours, 5, At(2024, 3, 5, 1));
  EXPECT_NEAR(task.LastGridPoint(At(2024, 3, 5, 12)), At(2024, 3, 5, 11), 1e-8);
  EXPECT_EQ(task.LastGridPoint(At(2024, 3, 5, 1)), At(2024, 3, 5, 1));
  EXPECT_EQ(task.LastGridPoint(At(2024, 3, 5, 0)), 0);  // before the start
  task.SetKind(TReminderTask::kOnce);
  EXPECT_EQ(task.LastGridPoint(At(2024, 3, 5, 12)), 0);
  EXPECT_EQ(task.AddInterval(At(2024, 3, 5, 12)), At(2024, 3, 5, 12));
}

TEST(ReminderTask, Daily) {
  // Tuesday, 5 March 2024, 12:00.
  FixedClock clock(At(2024, 3, 5, 12));
  const int sunday = 1, monday = 2, tuesday = 3, friday = 6;
  const struct {
    const char* what;
    double start;
    std::initializer_list<int> days;
    double expected;
  } cases[] = {
      {"no weekday", At(2024, 3, 1, 9), {}, 0},
      {"today, time passed", At(2024, 3, 1, 9), {tuesday}, At(2024, 3, 12, 9)},
      {"today, time to come", At(2024, 3, 1, 13), {tuesday}, At(2024, 3, 5, 13)},
      {"today, at now", At(2024, 2, 27, 12), {tuesday}, At(2024, 3, 12, 12)},
      {"tomorrow on", At(2024, 3, 1, 9), {tuesday + 1}, At(2024, 3, 6, 9)},
      {"working days, Friday evening",
       At(2024, 3, 8, 18),
       {monday, tuesday, tuesday + 1, tuesday + 2, friday},
       At(2024, 3, 8, 18)},
      {"start next week, Sunday only", At(2024, 3, 12, 9), {sunday}, At(2024, 3, 17, 9)},
      {"start next week, its own day", At(2024, 3, 12, 9), {tuesday}, At(2024, 3, 12, 9)},
  };
  for (const auto& c : cases) {
    TReminderTask task = DailyAt(c.start, c.days);
    EXPECT_EQ(task.ComputeNextTime(), c.expected) << c.what;
  }

  // Friday 18:00 after the alarm: the weekend is skipped.
  clock.Set(At(2024, 3, 8, 18, 0, 1));
  EXPECT_EQ(DailyAt(At(2024, 3, 1, 18), {monday, tuesday, tuesday + 1, tuesday + 2, friday})
                .ComputeNextTime(),
            At(2024, 3, 11, 18));

  TReminderTask none = DailyAt(At(2024, 3, 1, 9), {});
  none.Reschedule();
  EXPECT_FALSE(none.Active());
}

TEST(ReminderTask, UnknownKindHasNoNextTime) {
  FixedClock clock(At(2024, 3, 5, 12));
  EXPECT_EQ(Scheduled(4, TReminderTask::kDays, 1, At(2024, 3, 9)).ComputeNextTime(), 0);
  EXPECT_EQ(Scheduled(-1, TReminderTask::kDays, 1, At(2024, 3, 9)).ComputeNextTime(), 0);
}

TEST(ReminderTask, DueAndPending) {
  FixedClock clock(At(2024, 3, 5, 12));
  TReminderTask task = Scheduled(TReminderTask::kOnce, TReminderTask::kDays, 1, At(2024, 3, 5, 12));
  task.SetNextTime(At(2024, 3, 5, 12));
  EXPECT_TRUE(task.IsDue());
  EXPECT_TRUE(task.IsPending());

  clock.Set(At(2024, 3, 5, 11, 59, 59));
  EXPECT_FALSE(task.IsDue());
  EXPECT_TRUE(task.IsPending());

  clock.Set(At(2024, 3, 5, 12, 0, 1));
  EXPECT_TRUE(task.IsDue());
  EXPECT_FALSE(task.IsPending());

  task.SetActive(false);
  EXPECT_FALSE(task.IsDue());
  clock.Set(At(2024, 3, 5, 11));
  EXPECT_FALSE(task.IsPending());

  task.SetActive(true);
  task.SetNextTime(0);
  EXPECT_FALSE(task.IsDue());
  EXPECT_FALSE(task.IsPending());
}

class RecordingHost : public TDefaultStoreHost {
public:
  std::u16string GetText(std::string_view section, std::string_view key) const override {
    std::string id = std::string(section) + "." + std::string(key);
    return std::u16string(id.begin(), id.end());
  }
};

TEST(ReminderTask, Description) {
  TReminderTask task(true);
  RecordingHost host;
  SetStoreHost(&host);
  EXPECT_EQ(task.Description(), u"FREMIND.mNoReminder");
  SetStoreHost(nullptr);
  EXPECT_EQ(task.Description(), u"No reminder");

#ifndef _WIN32  // the native build formats with the en-US conventions
  task.SetNextTime(At(2024, 3, 5, 14, 7, 9));
  EXPECT_EQ(task.Description(), u"3/5/2024 2:07:09 PM");
  task.SetNextTime(At(2024, 3, 5));
  EXPECT_EQ(task.Description(), u"3/5/2024");
#endif
}

// ---- Stream record ------------------------------------------------------------

std::vector<uint8_t> Record(uint32_t version, uint8_t active, uint8_t flagByte,
                            const std::string& program, const std::string& sound) {
  HandBytes h;
  h.u32(version).u8(active).f64(At(2024, 3, 5, 9, 30)).i32(TReminderTask::kEvery).i32(3);
  h.i32(TReminderTask::kWeeks).i32(0).i32(5);
  h.u8(flagByte).str(program).u8(flagByte).str(sound);
  for (uint8_t d : {uint8_t(0), flagByte, uint8_t(0), uint8_t(0), flagByte, uint8_t(0), uint8_t(1)})
    h.u8(d);
  h.f64(At(2024, 3, 26, 9, 30));
  if (version == 2) h.u8(flagByte);
  return h.b;
}

TReminderTask Load(const std::vector<uint8_t>& bytes) {
  TReminderTask task(true);
  TMemoryStream stream(bytes);
  task.LoadFromStream(stream);
  EXPECT_EQ(stream.Remaining(), 0u);
  return task;
}

std::vector<uint8_t> Save(TReminderTask& task) {
  TMemoryStream stream;
  task.SaveToStream(stream);
  return stream.Bytes();
}

TEST(ReminderTask, ReadsVersionTwoFieldByField) {
  TReminderTask task = Load(Record(2, 1, 1, "C:\\Tools\\run.exe", "C:\\Media\\chime.wav"));
  EXPECT_TRUE(task.Active());
  EXPECT_EQ(task.StartTime(), At(2024, 3, 5, 9, 30));
  EXPECT_EQ(task.GetKind(), TReminderTask::kEvery);
  EXPECT_EQ(task.Interval(), 3);
  EXPECT_EQ(task.IntervalUnit(), TReminderTask::kWeeks);
  EXPECT_EQ(task.Reserved1(), 0);
  EXPECT_EQ(task.Reserved2(), 5);
  EXPECT_TRUE(task.RunProgram());
  EXPECT_EQ(task.ProgramPath(), "C:\\Tools\\run.exe");
  EXPECT_TRUE(task.PlaySound());
  EXPECT_EQ(task.SoundFile(), "C:\\Media\\chime.wav");
  const bool days[7] = {false, true, false, false, true, false, true};
  for (int d = 1; d <= 7; ++d) EXPECT_EQ(task.Weekday(d), days[d - 1]) << d;
  EXPECT_EQ(task.NextTime(), At(2024, 3, 26, 9, 30));
  EXPECT_TRUE(task.RepeatSound());
  EXPECT_FALSE(task.Modified());
}

TEST(ReminderTask, ReadsVersionOneWithoutRepeatSound) {
  // Even when the user's default would loop the sound.
  TReminderTask defaults(true);
  defaults.SetRepeatSound(true);
  ScopedUserDefault installed(defaults);
  TReminderTask task;
  TMemoryStream stream(Record(1, 1, 1, "run.exe", "chime.wav"));
  task.LoadFromStream(stream);
  EXPECT_EQ(stream.Remaining(), 0u);
  EXPECT_FALSE(task.RepeatSound());
  EXPECT_EQ(task.SoundFile(), "chime.wav");
  EXPECT_EQ(task.NextTime(), At(2024, 3, 26, 9, 30));

  // Saved again, it becomes version 2 with the flag off.
  std::vector<uint8_t> expected = Record(1, 1, 1, "run.exe", "chime.wav");
  expected[0] = 2;
  expected.push_back(0);
  EXPECT_EQ(Save(task), expected);
}

TEST(ReminderTask, RewritesTheBytesItRead) {
  // Any non-zero byte is true and is written back unchanged.
  const std::vector<uint8_t> bytes = Record(2, 0x80, 7, "prog", "snd");
  TReminderTask task = Load(bytes);
  EXPECT_TRUE(task.Active());
  EXPECT_EQ(task.ActiveByte(), 0x80);
  EXPECT_TRUE(task.RunProgram());
  EXPECT_TRUE(task.Weekday(2));
  task.SetActive(true);
  task.SetWeekday(2, true);
  task.SetRepeatSound(true);
  EXPECT_FALSE(task.Modified());
  EXPECT_EQ(Save(task), bytes);

  task.SetActive(false);
  task.SetWeekday(5, false);
  std::vector<uint8_t> changed = bytes;
  changed[4] = 0;       // Active
  changed[46 + 4] = 0;  // Thursday: the weekdays start at 46, after "snd"
  EXPECT_EQ(Save(task), changed);
}

TEST(ReminderTask, LongFileNamesUseTheLongLength) {
  TReminderTask task(true);
  task.SetProgramPath("prog");
  task.SetSoundFile(std::string(70000, 's'));
  const std::vector<uint8_t> saved = Save(task);
  // The sound file's length starts at byte 41: 0xFFFF, then 70000.
  HandBytes expectedLength;
  expectedLength.u16(0xFFFF).u32(70000);
  ASSERT_GT(saved.size(), 47u);
  EXPECT_EQ(std::vector<uint8_t>(saved.begin() + 41, saved.begin() + 47), expectedLength.b);
  TReminderTask again = Load(saved);
  EXPECT_EQ(again.SoundFile(), task.SoundFile());
  EXPECT_EQ(Save(again), saved);
}

TEST(ReminderTask, WritesVersionTwo) {
  FixedClock clock(At(2024, 3, 5, 12));
  TReminderTask task(true);
  task.SetActive(true);
  task.SetKind(TReminderTask::kEvery);
  task.SetInterval(3);
  task.SetIntervalUnit(TReminderTask::kWeeks);
  task.SetStartTime(At(2024, 3, 5, 9, 30));
  task.SetRunProgram(true);
  task.SetProgramPath("prog");
  task.SetPlaySound(true);
  task.SetSoundFile("snd");
  for (int d = 1; d <= 7; ++d) task.SetWeekday(d, d == 2 || d == 5 || d == 7);
  task.SetNextTime(At(2024, 3, 26, 9, 30));
  task.SetRepeatSound(true);
  ASSERT_TRUE(task.Modified());
  EXPECT_EQ(Save(task), Record(2, 1, 1, "prog", "snd"));
  EXPECT_FALSE(task.Modified());
}

TEST(ReminderTask, ReadingResetsFirst) {
  FixedClock clock(At(2024, 3, 5, 12));
  TReminderTask task(true);
  TMemoryStream stream(Record(2, 1, 1, "a", "b"));
  task.LoadFromStream(stream);
  task.SetModified(true);
  // A record that fails after the version still leaves a reset task, not a
  // mixture of old and new values.
  std::vector<uint8_t> cut = Record(2, 1, 1, "a", "b");
  cut.resize(4);
  TMemoryStream shortStream(cut);
  EXPECT_THROW(task.LoadFromStream(shortStream), EReadError);
  EXPECT_FALSE(task.Active());
  EXPECT_EQ(task.SoundFile(), "");
  EXPECT_EQ(task.StartTime(), clock.Get());
  EXPECT_FALSE(task.Modified());
}

TEST(ReminderTask, RejectsUnknownVersions) {
  for (uint32_t version : {0u, 3u, 0xFFFFFFFFu}) {
    std::vector<uint8_t> bytes = Record(2, 1, 1, "a", "b");
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(version >> (8 * i));
    TReminderTask task(true);
    TMemoryStream stream(bytes);
    try {
      task.LoadFromStream(stream);
      ADD_FAILURE() << "version " << version << " was read";
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), "Unknown reminder task version");
    }
  }
}

TEST(ReminderTask, TruncatedRecordsThrow) {
  for (uint32_t version : {1u, 2u}) {
    const std::vector<uint8_t> full = Record(version, 1, 1, "prog", "snd");
    for (size_t length = 0; length < full.size(); ++length) {
      TReminderTask task(true);
      TMemoryStream stream(std::vector<uint8_t>(full.begin(), full.begin() + length));
      EXPECT_THROW(task.LoadFromStream(stream), EReadError)
          << "version " << version << ", " << length << " bytes";
    }
  }
  // A string length beyond the data.
  HandBytes h;
  h.u32(2).u8(1).f64(1).i32(0).i32(1).i32(2).i32(0).i32(5).u8(0).u16(0xFFFF).u32(0x7FFFFFFF);
  TReminderTask task(true);
  TMemoryStream stream(h.b);
  EXPECT_THROW(task.LoadFromStream(stream), EReadError);
}

}  // namespace
}  // namespace vellumio
