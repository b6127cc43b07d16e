// Backup names, the temporary save name, the newest backup and the
// rotation of the generations, on real files with the program's clock
// fixed.
#include <gtest/gtest.h>

#include "base/Clock.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "store/Backups.h"
#include "store/SnapshotSaver.h"
#include "store/SnapshotWriter.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

using test::ReadAll;
using test::WriteText;

constexpr double kMinute = 1.0 / 1440;

TEST(Backups, TemporarySaveNameReplacesTheExtension) {
  const struct {
    std::u16string path, temp;
  } cases[] = {
      {u"C:\\Data\\notes.sbn", u"C:\\Data\\notes.$sbn"},
      {u"/home/u/notes.sbn", u"/home/u/notes.$sbn"},
      {u"notes", u"notes.$sbn"},
      {u"my.notes.sbn", u"my.notes.$sbn"},
      {u"C:\\my.folder\\notes", u"C:\\my.folder\\notes.$sbn"},
      {u"/a.b/notes", u"/a.b/notes.$sbn"},
      {u"notes.", u"notes.$sbn"},
  };
  for (const auto& c : cases) EXPECT_EQ(TempSavePath(c.path), c.temp);
}

TEST(Backups, NamesAreTheFolderTheDatabaseNameAndTheSuffix) {
  EXPECT_EQ(BackupName(u"C:\\Data\\notes.sbn", u"C:\\Backup\\", u"0"), u"C:\\Backup\\notes.sbn.0");
  EXPECT_EQ(BackupName(u"/data/notes.sbn", u"/b/", u"weekly"), u"/b/notes.sbn.weekly");
  // A folder given without its separator gets one.
  const std::u16string name = BackupName(u"D:/x/work.sbn", u"/b", u"6");
  EXPECT_TRUE(name == u"/b/work.sbn.6" || name == u"/b\\work.sbn.6");
  EXPECT_EQ(kBackupSuffixes.size(), 9u);
}

struct BackupFixture : ::testing::Test {
  test::TempFolder tmp;
  std::u16string db = tmp.U("notes.sbn");
  std::u16string folder = tmp.U("Backup") + u"/";
  SnapshotFacts notes{1, 3};
  double now = platform::LocalNow();

  std::u16string Name(const char16_t* suffix) { return BackupName(db, folder, suffix); }
  std::filesystem::path PathOf(const char16_t* suffix) {
    return std::filesystem::path(Name(suffix));
  }
  void Write(const char16_t* suffix, const std::string& text, double time) {
    std::filesystem::create_directories(tmp.Path("Backup"));
    WriteText(PathOf(suffix), text);
    platform::SetFileModifiedTime(Name(suffix), time);
  }
};

TEST_F(BackupFixture, NewestBackupTimeLooksAtAllNineSuffixes) {
  EXPECT_EQ(NewestBackupTime(db, folder), 0);
  Write(u"3", "x", now - 60 * kMinute);
  EXPECT_NEAR(NewestBackupTime(db, folder), now - 60 * kMinute, 0.5 / 86400);
  Write(u"weekly", "x", now - 5 * kMinute);
  Write(u"0", "x", now - 30 * kMinute);
  EXPECT_NEAR(NewestBackupTime(db, folder), now - 5 * kMinute, 0.5 / 86400);
  // Other names beside them do not count.
  Write(u"7", "x", now);
  WriteText(tmp.Path("Backup/other.sbn.0"), "x");
  EXPECT_NEAR(NewestBackupTime(db, folder), now - 5 * kMinute, 0.5 / 86400);
}

TEST_F(BackupFixture, RotationShiftsEveryGenerationAndDropsTheOldest) {
  FixedClock clock(now);
  for (int i = 0; i <= 6; ++i) {
    const std::u16string suffix = kBackupSuffixes[i];
    Write(suffix.c_str(), "generation " + std::to_string(i), now - (60 + i) * kMinute);
  }
  WriteText(tmp.Path("notes.sbn"), "current");
  RotateBackups(db, folder, kBackupGenerations, notes);
  EXPECT_EQ(ReadAll(PathOf(u"0")), "current");
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(ReadAll(PathOf(kBackupSuffixes[i])), "generation " + std::to_string(i - 1));
  }
  EXPECT_FALSE(std::filesystem::exists(tmp.Path("Backup/notes.sbn.7")));
  EXPECT_EQ(test::Entries(tmp.Path("Backup")).size(), 7u) << "no temporary copy left behind";
}

TEST_F(BackupFixture, RotationFillsGapsWithoutLosingGenerations) {
  FixedClock clock(now);
  Write(u"0", "zero", now - 60 * kMinute);
  Write(u"2", "two", now - 70 * kMinute);
  WriteText(tmp.Path("notes.sbn"), "current");
  RotateBackups(db, folder, kBackupGenerations, notes);
  EXPECT_EQ(ReadAll(PathOf(u"0")), "current");
  EXPECT_EQ(ReadAll(PathOf(u"1")), "zero");
  EXPECT_FALSE(std::filesystem::exists(PathOf(u"2")));
  EXPECT_EQ(ReadAll(PathOf(u"3")), "two");
}

TEST_F(BackupFixture, TheCopyKeepsTheDatabaseFileTime) {
  WriteText(tmp.Path("notes.sbn"), "current");
  platform::SetFileModifiedTime(db, now - 90 * kMinute);
  FixedClock clock(now);
  RotateBackups(db, folder, kBackupGenerations, notes);
  EXPECT_NEAR(*platform::FileModifiedTime(Name(u"0")), now - 90 * kMinute, 1.0 / 86400);
}

TEST_F(BackupFixture, AtMostOneGenerationPerFifteenMinutes) {
  const struct {
    double age;  // of the newest backup, in minutes
    bool rotates;
  } cases[] = {{1, false}, {14.9, false}, {15.1, true}, {600, true}, {-5, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.age);
    test::TempFolder scratch;
    const std::u16string d = scratch.U("notes.sbn"), b = scratch.U("B");
    WriteText(scratch.Path("notes.sbn"), "current");
    std::filesystem::create_directories(scratch.Path("B"));
    WriteText(scratch.Path("B/notes.sbn.daily"), "daily");
    platform::SetFileModifiedTime(scratch.U("B/notes.sbn.daily"), now - c.age * kMinute);
    FixedClock clock(now);
    RotateBackups(d, b, kBackupGenerations, notes);
    EXPECT_EQ(std::filesystem::exists(scratch.Path("B/notes.sbn.0")), c.rotates);
  }
}

TEST_F(BackupFixture, NothingHappensWithoutADatabaseOrForOneEmptyList) {
  RotateBackups(db, folder, kBackupGenerations, notes);
  EXPECT_FALSE(std::filesystem::exists(tmp.Path("Backup")));
  WriteText(tmp.Path("notes.sbn"), "empty");
  RotateBackups(db, folder, kBackupGenerations, SnapshotFacts{1, 0});
  EXPECT_FALSE(std::filesystem::exists(tmp.Path("Backup")));
  // Two empty lists are a real state.
  RotateBackups(db, folder, kBackupGenerations, SnapshotFacts{2, 0});
  EXPECT_EQ(ReadAll(PathOf(u"0")), "empty");
}

TEST_F(BackupFixture, AFailureIsReportedWithTheFixedMessage) {
  WriteText(tmp.Path("notes.sbn"), "current");
  WriteText(tmp.Path("Backup"), "a file in the way");
  const std::string error = test::ErrorOf([&] { RotateBackups(db, folder, 7, notes); });
  EXPECT_EQ(error.rfind("Unable to create backup files.\n", 0), 0u) << error;
  EXPECT_GT(error.size(), std::string("Unable to create backup files.\n").size())
      << "reason missing";
}

}  // namespace
}  // namespace vellumio
