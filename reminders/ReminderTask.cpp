#include "reminders/ReminderTask.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "base/Clock.h"
#include "base/DateFormat.h"
#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "store/StoreHost.h"

namespace vellumio {
namespace {

constexpr uint32_t kRecordVersion = 2;

// Read by every new note's task, possibly while the reminder thread runs.
std::atomic<const TReminderTask*> g_userDefault{nullptr};

// Flags keep the byte they were loaded with, so that re-saving a record
// gives the same bytes; only a change of truth value replaces it.
template <typename T>
bool Assign(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

bool AssignFlag(uint8_t& field, bool value) {
  if ((field != 0) == value) return false;
  field = value ? 1 : 0;
  return true;
}

void CheckDay(int day) {
  if (day < 1 || day > 7) throw EListError("Out of bounds");
}

}  // namespace

TReminderTask::TReminderTask(bool fromBuiltIns) : fromBuiltIns_(fromBuiltIns) { Reset(); }

TReminderTask::TReminderTask(bool fromBuiltIns, double now) : fromBuiltIns_(fromBuiltIns) {
  ResetAt(now);
}

void TReminderTask::SetUserDefault(const TReminderTask* task) { g_userDefault.store(task); }

const TReminderTask* TReminderTask::UserDefault() { return g_userDefault.load(); }

void TReminderTask::Reset() { ResetAt(Now()); }

void TReminderTask::ResetAt(double now) {
  const TReminderTask* defaults = fromBuiltIns_ ? nullptr : UserDefault();
  if (defaults && defaults != this)
    CopySettingsFrom(*defaults);
  else
    ResetToBuiltIns();
  reserved1_ = 0;
  reserved2_ = 5;
  startTime_ = now;
  modified_ = false;
  active_ = 0;
  nextTime_ = 0;
}

void TReminderTask::ResetToBuiltIns() {
  runProgram_ = 0;
  playSound_ = 0;
  kind_ = kOnce;
  intervalUnit_ = kDays;
  interval_ = 1;
  programPath_.clear();
  soundFile_.clear();
  repeatSound_ = 0;
  // Sunday and Saturday off, the working days on.
  std::fill(std::begin(weekdays_), std::end(weekdays_), uint8_t(1));
  weekdays_[0] = weekdays_[6] = 0;
}

void TReminderTask::CopySettingsFrom(const TReminderTask& other) {
  runProgram_ = other.runProgram_;
  playSound_ = other.playSound_;
  kind_ = other.kind_;
  intervalUnit_ = other.intervalUnit_;
  interval_ = other.interval_;
  programPath_ = other.programPath_;
  soundFile_ = other.soundFile_;
  std::copy(std::begin(other.weekdays_), std::end(other.weekdays_), weekdays_);
  repeatSound_ = other.repeatSound_;
}

// ---- Setters ------------------------------------------------------------------

void TReminderTask::SetActive(bool value) { modified_ |= AssignFlag(active_, value); }
void TReminderTask::SetRunProgram(bool value) { modified_ |= AssignFlag(runProgram_, value); }
void TReminderTask::SetPlaySound(bool value) { modified_ |= AssignFlag(playSound_, value); }
void TReminderTask::SetRepeatSound(bool value) { modified_ |= AssignFlag(repeatSound_, value); }
void TReminderTask::SetKind(int32_t value) { modified_ |= Assign(kind_, value); }
void TReminderTask::SetIntervalUnit(int32_t value) { modified_ |= Assign(intervalUnit_, value); }
void TReminderTask::SetInterval(int32_t value) { modified_ |= Assign(interval_, value); }
void TReminderTask::SetProgramPath(const std::string& value) {
  modified_ |= Assign(programPath_, value);
}
void TReminderTask::SetSoundFile(const std::string& value) {
  modified_ |= Assign(soundFile_, value);
}
void TReminderTask::SetStartTime(double value) { modified_ |= Assign(startTime_, value); }
void TReminderTask::SetNextTime(double value) { modified_ |= Assign(nextTime_, value); }

bool TReminderTask::Weekday(int day) const {
  CheckDay(day);
  return weekdays_[day - 1] != 0;
}

void TReminderTask::SetWeekday(int day, bool value) {
  CheckDay(day);
  modified_ |= AssignFlag(weekdays_[day - 1], value);
}

// ---- Schedule -----------------------------------------------------------------

double TReminderTask::AddInterval(double t) const {
  if (kind_ == kOnce) return t;
  switch (intervalUnit_) {
    case kMinutes:
      return t + interval_ / kMinutesPerDay;
    case kHours:
      return t + interval_ / 24.0;
    case kDays:
      return t + interval_;
    case kWeeks:
      return t + 7.0 * interval_;
    case kMonths:
      return IncMonth(t, interval_);
    case kYears:
      return IncYear(t, interval_);
    default:
      return t;
  }
}

double TReminderTask::GridIndex(double now) const {
  if (kind_ == kOnce || interval_ < 1 || !(startTime_ <= now)) return -1;
  const double elapsed = now - startTime_;
  switch (intervalUnit_) {
    case kMinutes:
      return std::trunc(elapsed / (interval_ / kMinutesPerDay));
    case kHours:
      return std::trunc(elapsed / (interval_ / 24.0));
    case kDays:
      return std::trunc(elapsed / interval_);
    case kWeeks:
      return std::trunc(elapsed / (7.0 * interval_));
    case kMonths:
      return MonthsBetween(startTime_, now) / interval_;
    case kYears:
      return YearsBetween(startTime_, now) / interval_;
    default:
      return -1;
  }
}

double TReminderTask::GridPoint(double k) const {
  // Calendar steps stay within the calendar's 120000 months unless the
  // interval itself is absurd; the clamp keeps the product an int.
  const auto steps = [&](double perStep) {
    return int(std::clamp(k * perStep, double(INT32_MIN), double(INT32_MAX)));
  };
  switch (intervalUnit_) {
    case kMinutes:
      return startTime_ + k * (interval_ / kMinutesPerDay);
    case kHours:
      return startTime_ + k * (interval_ / 24.0);
    case kDays:
      return startTime_ + k * interval_;
    case kWeeks:
      return startTime_ + k * (7.0 * interval_);
    case kMonths:
      return IncMonth(startTime_, steps(interval_));
    case kYears:
      return IncYear(startTime_, steps(interval_));
    default:
      return 0;
  }
}

double TReminderTask::LastGridPoint(double now) const {
  const double k = GridIndex(now);
  if (k < 0) return 0;
  const double point = GridPoint(k);
  // Rounding (a month counted to the millisecond) can put the point just
  // after now; the start is then the safe answer.
  return point > now ? startTime_ : point;
}

double TReminderTask::NextEvery(double now) const {
  if (startTime_ > now) return startTime_;
  const double last = LastGridPoint(now);
  if (last == 0) return 0;
  const double next = AddInterval(last);
  if (next > now) return next;
  // A month-end start walks the days down (31 January, 28 February, then 28
  // March by one month from the grid point) and rounding can leave a minute
  // step at now: a next time that is not after now would fire again at
  // once, so the following points of the grid anchored at the start are
  // taken instead (31 March).
  const double k = GridIndex(now);
  for (double j = k + 1; j <= k + 2; ++j)
    if (GridPoint(j) > now) return GridPoint(j);
  return 0;
}

double TReminderTask::NextDaily(double now) const {
  double base = startTime_;
  if (!(base > now)) base = CombineDateTime(DateOf(now), TimeOf(startTime_));
  for (int day = 0; day <= 7; ++day) {
    const double t = base + day;
    if (t > now && weekdays_[DayOfWeek(t) - 1] != 0) return t;
  }
  return 0;
}

double TReminderTask::ComputeNextTime() const {
  const double now = Now();
  switch (kind_) {
    case kOnce:
      return startTime_ > now ? startTime_ : 0;
    case kOnceIn: {
      const double t = AddInterval(startTime_);
      return t >= now ? t : 0;
    }
    case kEvery:
      return NextEvery(now);
    case kDaily:
      return NextDaily(now);
    default:
      return 0;
  }
}

void TReminderTask::Reschedule() {
  SetNextTime(ComputeNextTime());
  if (nextTime_ == 0) SetActive(false);
}

bool TReminderTask::IsDue() const { return nextTime_ != 0 && Now() >= nextTime_ && Active(); }

bool TReminderTask::IsPending() const { return Active() && nextTime_ != 0 && Now() <= nextTime_; }

std::u16string TReminderTask::Description() const {
  if (nextTime_ == 0) return StoreHost().GetText("FREMIND", "mNoReminder");
  return FormatDateTime(u"c", nextTime_);
}

// ---- Stream record ------------------------------------------------------------

void TReminderTask::SaveToStream(TStream& stream) {
  stream.WriteUInt32(kRecordVersion);
  stream.WriteByte(active_);
  stream.WriteDouble(startTime_);
  stream.WriteInt32(kind_);
  stream.WriteInt32(interval_);
  stream.WriteInt32(intervalUnit_);
  stream.WriteInt32(reserved1_);
  stream.WriteInt32(reserved2_);
  stream.WriteByte(runProgram_);
  stream.WriteStreamString(programPath_);
  stream.WriteByte(playSound_);
  stream.WriteStreamString(soundFile_);
  stream.Write(weekdays_, sizeof weekdays_);
  stream.WriteDouble(nextTime_);
  stream.WriteByte(repeatSound_);
  modified_ = false;
}

void TReminderTask::LoadFromStream(TStream& stream) { LoadFromStreamAt(stream, Now()); }

void TReminderTask::LoadFromStreamAt(TStream& stream, double now) {
  ResetAt(now);
  const uint32_t version = stream.ReadUInt32();
  if (version != 1 && version != 2) throw EReadError("Unknown reminder task version");
  active_ = stream.ReadByte();
  startTime_ = stream.ReadDouble();
  kind_ = stream.ReadInt32();
  interval_ = stream.ReadInt32();
  intervalUnit_ = stream.ReadInt32();
  reserved1_ = stream.ReadInt32();
  reserved2_ = stream.ReadInt32();
  runProgram_ = stream.ReadByte();
  programPath_ = stream.ReadStreamString();
  playSound_ = stream.ReadByte();
  soundFile_ = stream.ReadStreamString();
  stream.Read(weekdays_, sizeof weekdays_);
  nextTime_ = stream.ReadDouble();
  // Version 1 predates looping sounds: off, whatever the user's default says.
  repeatSound_ = version >= 2 ? stream.ReadByte() : 0;
  modified_ = false;
}

}  // namespace vellumio
