#include "config/Base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Stream.h"
#include "base/Utf8.h"
#include "config/SettingsIni.h"
#include "config/SettingsReminder.h"

namespace vellumio {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(ConfStoreBase64, KnownVectors) {
  const struct {
    const char* plain;
    const char16_t* encoded;
  } cases[] = {{"", u""},
               {"f", u"Zg=="},
               {"fo", u"Zm8="},
               {"foo", u"Zm9v"},
               {"foob", u"Zm9vYg=="},
               {"fooba", u"Zm9vYmE="},
               {"foobar", u"Zm9vYmFy"}};
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeBase64(Bytes(c.plain)), c.encoded) << c.plain;
    EXPECT_EQ(DecodeBase64(c.encoded), Bytes(c.plain)) << c.plain;
  }
}

TEST(ConfStoreBase64, EveryByteValueRoundTrips) {
  std::vector<uint8_t> all;
  for (int i = 0; i < 256; ++i) all.push_back(uint8_t(255 - i));
  for (size_t length = 0; length <= all.size(); length += 37) {
    const std::vector<uint8_t> part(all.begin(), all.begin() + length);
    const std::u16string text = EncodeBase64(part);
    EXPECT_EQ(text.size() % 4, 0u);
    EXPECT_EQ(DecodeBase64(text), part) << length;
  }
  EXPECT_NE(EncodeBase64(all).find(u'+'), std::u16string::npos);
  EXPECT_NE(EncodeBase64(all).find(u'/'), std::u16string::npos);
}

TEST(ConfStoreBase64, DamagedTextIsRejected) {
  for (const char16_t* text : {u"Zg=", u"Zg", u"Z===", u"====", u"Zg=a", u"Zm9v!A==", u"Zm 9v",
                               u"Zh==", u"Zm9=", u"Zm-_", u"Zm9v\u00e4AAA"}) {
    EXPECT_FALSE(DecodeBase64(text).has_value()) << ToUtf8(text);
  }
}

TEST(ConfStoreIntegers, DecimalText) {
  const struct {
    const char16_t* text;
    bool parses;
    int32_t value;
  } cases[] = {
      {u"7", true, 7},
      {u" 7 ", true, 7},
      {u"-12", true, -12},
      {u"+3", true, 3},
      {u"2147483647", true, 2147483647},
      {u"-2147483648", true, -2147483647 - 1},
      {u"2147483648", false, 0},
      {u"99999999999999999999", false, 0},
      {u"", false, 0},
      {u"-", false, 0},
      {u"7a", false, 0},
      {u"0x10", false, 0},
      {u"1.5", false, 0},
      {u"1 2", false, 0},
  };
  for (const auto& c : cases) {
    int32_t value = -99;
    EXPECT_EQ(ParseSettingInteger(c.text, value), c.parses) << ToUtf8(c.text);
    EXPECT_EQ(value, c.parses ? c.value : -99) << ToUtf8(c.text);
  }
}

void ExpectSameTask(const TReminderTask& a, const TReminderTask& b) {
  EXPECT_EQ(a.Active(), b.Active());
  EXPECT_EQ(a.GetKind(), b.GetKind());
  EXPECT_EQ(a.Interval(), b.Interval());
  EXPECT_EQ(a.IntervalUnit(), b.IntervalUnit());
  EXPECT_EQ(a.RunProgram(), b.RunProgram());
  EXPECT_EQ(a.PlaySound(), b.PlaySound());
  EXPECT_EQ(a.RepeatSound(), b.RepeatSound());
  EXPECT_EQ(a.ProgramPath(), b.ProgramPath());
  EXPECT_EQ(a.SoundFile(), b.SoundFile());
  EXPECT_EQ(a.StartTime(), b.StartTime());
  EXPECT_EQ(a.NextTime(), b.NextTime());
  for (int day = 1; day <= 7; ++day) EXPECT_EQ(a.Weekday(day), b.Weekday(day)) << day;
}

TEST(ConfStoreDefaultReminder, BuiltInDefaultRoundTrips) {
  FixedClock clock(EncodeDateTime(2025, 3, 4, 9, 30, 0));
  TReminderSettings saved;
  const std::u16string text = saved.EncodeDefault();
  // The record (version 2, then the flags) as standard Base64.
  EXPECT_EQ(text.substr(0, 6), u"AgAAAA");
  TReminderSettings loaded;
  clock.Set(EncodeDate(2030, 1, 1));  // loading must not take the time of now
  loaded.DecodeDefault(text);
  ExpectSameTask(loaded.DefaultReminder, saved.DefaultReminder);
}

TEST(ConfStoreDefaultReminder, ChangedDefaultRoundTrips) {
  FixedClock clock(EncodeDateTime(2025, 3, 4, 9, 30, 0));
  TReminderSettings saved;
  TReminderTask& task = saved.DefaultReminder;
  task.SetKind(TReminderTask::kDaily);
  task.SetWeekday(1, true);
  task.SetWeekday(3, false);
  task.SetPlaySound(true);
  task.SetRepeatSound(true);
  task.SetSoundFile("C:\\Sounds\\bell.wav");
  task.SetRunProgram(true);
  task.SetProgramPath(std::string(70000, 'p'));  // past the 16-bit length
  TReminderSettings loaded;
  loaded.DecodeDefault(saved.EncodeDefault());
  ExpectSameTask(loaded.DefaultReminder, task);
}

TEST(ConfStoreDefaultReminder, DamagedValueLeavesTheBuiltInsSilently) {
  FixedClock clock(EncodeDateTime(2025, 3, 4, 9, 30, 0));
  TReminderSettings good;
  good.DefaultReminder.SetKind(TReminderTask::kEvery);
  const std::u16string valid = good.EncodeDefault();
  TMemoryStream unknownVersion;
  unknownVersion.WriteUInt32(9);
  unknownVersion.WriteByte(1);

  const std::u16string damaged[] = {
      u"not base64!",     valid.substr(0, valid.size() - 4),  // cut short
      valid.substr(0, 8), EncodeBase64(unknownVersion.Bytes()), u"AAAA",
  };
  const TReminderTask builtIns(true);
  for (const std::u16string& text : damaged) {
    TReminderSettings settings;
    settings.DefaultReminder.SetKind(TReminderTask::kDaily);  // must not survive
    EXPECT_NO_THROW(settings.DecodeDefault(text)) << ToUtf8(text);
    ExpectSameTask(settings.DefaultReminder, builtIns);
  }
}

TEST(ConfStoreDefaultReminder, RegisteredAsTheUserDefault) {
  {
    TReminderSettings settings;
    EXPECT_EQ(TReminderTask::UserDefault(), &settings.DefaultReminder);
    settings.DefaultReminder.SetKind(TReminderTask::kEvery);
    TReminderTask fresh;
    EXPECT_EQ(fresh.GetKind(), TReminderTask::kEvery);
  }
  EXPECT_EQ(TReminderTask::UserDefault(), nullptr);
}

}  // namespace
}  // namespace vellumio
