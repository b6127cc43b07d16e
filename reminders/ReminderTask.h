// The reminder every note carries, its schedule and its stream record.
#pragma once

#include <cstdint>
#include <string>

namespace vellumio {

class TStream;

class TReminderTask {
public:
  enum Kind : int32_t { kOnce = 0, kOnceIn = 1, kEvery = 2, kDaily = 3 };
  enum Unit : int32_t { kMinutes = 0, kHours = 1, kDays = 2, kWeeks = 3, kMonths = 4, kYears = 5 };

  // `fromBuiltIns`: initialise from the built-in defaults instead of the
  // user's default reminder (only the default reminder itself does).
  explicit TReminderTask(bool fromBuiltIns = false);
  // With the current time given, for tasks made in bulk while loading.
  TReminderTask(bool fromBuiltIns, double now);

  // The user's default reminder that new tasks copy their settings from; the
  // reminder settings register theirs at start-up. Without one, tasks start
  // from the built-in defaults.
  static void SetUserDefault(const TReminderTask* task);
  static const TReminderTask* UserDefault();

  void Reset();
  // The same with the current time given (loading reads the clock once per
  // list rather than once per note).
  void ResetAt(double now);

  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  // Booleans are kept as the byte that was loaded and compared as "not 0".
  bool Active() const { return active_ != 0; }
  uint8_t ActiveByte() const { return active_; }
  bool RunProgram() const { return runProgram_ != 0; }
  bool PlaySound() const { return playSound_ != 0; }
  bool RepeatSound() const { return repeatSound_ != 0; }
  int32_t GetKind() const { return kind_; }
  int32_t IntervalUnit() const { return intervalUnit_; }
  int32_t Interval() const { return interval_; }
  const std::string& ProgramPath() const { return programPath_; }  // ANSI bytes
  const std::string& SoundFile() const { return soundFile_; }      // ANSI bytes
  double StartTime() const { return startTime_; }
  double NextTime() const { return nextTime_; }
  int32_t Reserved1() const { return reserved1_; }
  int32_t Reserved2() const { return reserved2_; }
  bool FromBuiltIns() const { return fromBuiltIns_; }

  void SetActive(bool value);
  void SetRunProgram(bool value);
  void SetPlaySound(bool value);
  void SetRepeatSound(bool value);
  void SetKind(int32_t value);
  void SetIntervalUnit(int32_t value);
  void SetInterval(int32_t value);
  void SetProgramPath(const std::string& value);
  void SetSoundFile(const std::string& value);
  void SetStartTime(double value);
  void SetNextTime(double value);

  // Day 1 (Sunday) to 7 (Saturday); others throw EListError("Out of bounds").
  bool Weekday(int day) const;
  void SetWeekday(int day, bool value);

  // Schedule, against base/Clock's Now().
  double ComputeNextTime() const;
  void Reschedule();
  bool IsDue() const;
  bool IsPending() const;
  // NextTime in the default date-and-time format, or the "no reminder" text.
  std::u16string Description() const;

  // `t` advanced by one interval (unchanged for kind 0 or an unknown unit).
  double AddInterval(double t) const;
  // The latest StartTime + k intervals not later than now (kind 2), or 0.
  // A unit outside 0 ... 5 or an interval below 1 (only a damaged record
  // has one) gives no grid, so such a reminder never comes due.
  double LastGridPoint(double now) const;

  // Version 2 always; reads versions 1 and 2 and throws EReadError
  // ("Unknown reminder task version", or a short or damaged record).
  void SaveToStream(TStream& stream);
  void LoadFromStream(TStream& stream);
  // The same with the current time given (the note reader passes its own).
  void LoadFromStreamAt(TStream& stream, double now);

private:
  void CopySettingsFrom(const TReminderTask& other);
  void ResetToBuiltIns();
  double NextDaily(double now) const;
  double NextEvery(double now) const;
  // The number of whole intervals from StartTime to now, or -1 without a grid.
  double GridIndex(double now) const;
  // StartTime advanced by k intervals.
  double GridPoint(double k) const;

  bool modified_ = false;
  uint8_t active_ = 0;
  uint8_t runProgram_ = 0;
  uint8_t playSound_ = 0;
  int32_t kind_ = kOnce;
  int32_t intervalUnit_ = kDays;
  int32_t interval_ = 1;
  std::string programPath_;
  std::string soundFile_;
  double startTime_ = 0;
  int32_t reserved1_ = 0;
  int32_t reserved2_ = 5;
  uint8_t weekdays_[7] = {};
  double nextTime_ = 0;
  bool fromBuiltIns_ = false;
  uint8_t repeatSound_ = 0;
};

}  // namespace vellumio
