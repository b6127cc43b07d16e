// Lists and the database as a model: names, visible notes under a filter,
// moving notes and lists, identities, tabs, export and files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "base/Clock.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "base/Utf8.h"
#include "platform/Platform.h"
#include "store/uNotesList.h"

namespace vellumio {
namespace {

constexpr double kNow = 46000.5;

struct ListFixture : ::testing::Test {
  FixedClock clock{kNow};
  TNoteListCollection db;
  TNotesList& list = *db.List(0);

  // Notes "n1".."nN" with n1 at the top.
  void Fill(int count) {
    for (int i = count; i >= 1; --i) list.Insert(0)->SetText(u"n" + FromUtf8(std::to_string(i)));
  }
};

TEST_F(ListFixture, NamesAreCutAndNeverEmpty) {
  list.SetName(u"");
  EXPECT_EQ(list.GetName(), u"Untitled");
  list.SetName(u"abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(list.GetName(), u"abcdefghijklmnopqrst");
  TNotesList unnamed(&db);
  EXPECT_EQ(unnamed.GetName(), u"-");
}

TEST_F(ListFixture, VisibleNotesFollowTheFilter) {
  Fill(6);
  list.Item(1)->SetText(u"xx ABC");
  list.Item(4)->SetSubject(u"abcd");
  list.SetFilter(u"abc");
  ASSERT_EQ(list.VisibleCount(), 2);
  EXPECT_EQ(list.VisibleNote(0), list.Item(1));
  TNoteItem* fifth = list.Item(4);
  EXPECT_EQ(list.VisibleNote(1), fifth);
  EXPECT_EQ(list.VisibleNote(2), nullptr);
  EXPECT_EQ(list.IndexOf(fifth), 1);
  EXPECT_EQ(list.IndexOf(list.Item(0)), -1);
  list.Delete(1);
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.VisibleCount(), 1);
  for (int i = 0; i < list.Count(); ++i) EXPECT_NE(list.Item(i), fifth);
  list.SetFilter(u"");
  EXPECT_EQ(list.VisibleCount(), 5);
  EXPECT_THROW(list.Delete(5), EListError);
}

TEST_F(ListFixture, MoveToTopKeepsIdentityAndDatesTheNoteNow) {
  Fill(4);
  TNoteItem* third = list.Item(2);
  const int32_t uid = third->UID();
  third->SetCreated(40000);
  TMemoryStream sink;
  list.SaveToStream(sink);
  clock.Set(kNow + 1);
  list.MoveToTop(third);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Item(0)->Text(), u"n3");
  EXPECT_EQ(list.Item(0)->UID(), uid);
  EXPECT_EQ(list.Item(0)->Created(), kNow + 1);
  EXPECT_TRUE(list.Item(0)->IsModified());
  EXPECT_EQ(list.Item(1)->Text(), u"n1");
  EXPECT_EQ(list.Item(3)->Text(), u"n4");
  EXPECT_FALSE(db.IsUIDFree(uid));
}

TEST_F(ListFixture, MoveListReordersAndKeepsContent) {
  db.List(0)->SetName(u"A");
  db.AddList()->SetName(u"B");
  db.AddList()->SetName(u"C");
  db.List(0)->Insert(0)->SetText(u"in A");
  auto names = [&] {
    std::u16string s;
    for (int i = 0; i < db.ListCount(); ++i) s += db.List(i)->GetName();
    return s;
  };
  EXPECT_EQ(db.MoveList(0, 2), 2);
  EXPECT_EQ(names(), u"BCA");
  EXPECT_EQ(db.List(2)->Item(0)->Text(), u"in A");
  db.MoveList(2, 0);
  EXPECT_EQ(names(), u"ABC");
  db.MoveList(2, 0);
  EXPECT_EQ(names(), u"CAB");
  EXPECT_TRUE(db.IsModified());
}

TEST_F(ListFixture, TabsShowEmptyListsAndFilteredMisses) {
  list.SetName(u"Work");
  list.SetColour(0x0000FF);
  list.Insert(0)->SetText(u"hello");
  TNotesList* empty = db.AddList();
  empty->SetName(u"Empty");
  std::vector<TabInfo> tabs;
  db.FillTabs(tabs, true);
  ASSERT_EQ(tabs.size(), 3u);
  EXPECT_EQ(tabs[0].caption, u"Work");
  // (c * 106 + 255 * 150) / 256 per channel: 255 -> 255, 0 -> 149.
  EXPECT_EQ(tabs[0].colour, 0x9595FFu);
  EXPECT_EQ(tabs[1].caption, u"Empty*");
  EXPECT_EQ(tabs[2].caption, u"New list");
  EXPECT_EQ(tabs[2].list, nullptr);
  list.SetFilter(u"nothing matches");
  db.FillTabs(tabs, false);
  ASSERT_EQ(tabs.size(), 2u);
  EXPECT_EQ(tabs[0].caption, u"Work");
  EXPECT_EQ(tabs[0].colour, 0xFFFFFFu);
}

TEST_F(ListFixture, ExportListsOldestNoteFirst) {
  list.SetName(u"L");
  list.Insert(0)->SetText(u"older");
  list.Insert(0)->SetText(u"newer");
  std::vector<std::u16string> lines;
  list.ExportToLines(lines);
  ASSERT_EQ(lines.size(), 3u + 3 + 3 + 1);
  EXPECT_EQ(lines[0], std::u16string(67, u'='));
  EXPECT_EQ(lines[1], u"L (2 notes)");
  EXPECT_EQ(lines[4], u"older");
  EXPECT_EQ(lines[7], u"newer");
  EXPECT_EQ(lines[9], u"");
}

TEST_F(ListFixture, NextReminderIsTheEarliestActiveOne) {
  Fill(4);
  auto arm = [&](int i, bool active, double next) {
    list.Item(i)->Reminder().SetActive(active);
    list.Item(i)->Reminder().SetNextTime(next);
  };
  arm(0, true, 46010);
  arm(1, false, 46001);   // inactive
  arm(2, true, 46005);
  arm(3, true, 64000.5);  // beyond 2075 does not count
  TNotesList* other = db.AddList();
  TNoteItem* tie = other->Insert(0);
  tie->SetText(u"tie");
  tie->Reminder().SetActive(true);
  tie->Reminder().SetNextTime(46005);
  EXPECT_EQ(db.NextReminderNote(), list.Item(2));  // ties keep the first found
  list.SetFilter(u"n1");
  EXPECT_EQ(db.NextReminderNote(), tie);
}

// ---- Identities -------------------------------------------------------------------------

TEST(Identities, ClockSecondsCountFromTheUnixEpoch) {
  // 1970-01-02 01:00:00 local: one day, hour counted from 1.
  EXPECT_EQ(TNoteListCollection::ClockSeconds(25570 + 1.0 / 24, 0), 86400);
  EXPECT_EQ(TNoteListCollection::ClockSeconds(25570 + 1.0 / 24, -3600), 86400 - 3600);
  EXPECT_EQ(TNoteListCollection::ClockSeconds(0, 0), 0);
  EXPECT_EQ(TNoteListCollection::ClockSeconds(20000, 0), 0);
}

// The identities the plain algorithm hands out: count up from the clock
// until no list or note has the candidate.
int32_t NaiveNewUID(TNoteListCollection& db, int32_t candidate) {
  std::set<int32_t> used;
  for (int l = 0; l < db.ListCount(); ++l) {
    used.insert(db.List(l)->UID());
    for (int i = 0; i < db.List(l)->Count(); ++i) used.insert(db.List(l)->Item(i)->UID());
  }
  while (candidate == 0 || used.count(candidate)) ++candidate;
  return candidate;
}

TEST(Identities, IndexHandsOutWhatTheScanWould) {
  FixedClock clock(kNow);
  TNoteListCollection db;
  std::mt19937 rng(7);
  const int32_t base = TNoteListCollection::ClockSeconds(kNow, platform::TimeZoneBiasSeconds());
  for (int step = 0; step < 3000; ++step) {
    TNotesList* list = db.List(rng() % db.ListCount());
    switch (rng() % 6) {
      case 0:
        if (list->Count() > 0) list->Delete(rng() % list->Count());
        break;
      case 1:
        if (db.ListCount() < 5) db.AddList()->GetUID();
        break;
      case 2:
        if (db.ListCount() > 1) db.DeleteList(rng() % db.ListCount());
        break;
      case 3:
        clock.Advance(1.0 / 86400 * (rng() % 3));
        break;
      default: {
        const int32_t expected = NaiveNewUID(db, TNoteListCollection::ClockSeconds(clock.Get(), platform::TimeZoneBiasSeconds()));
        TNoteItem* note = list->Insert(0);
        ASSERT_EQ(note->UID(), expected) << "step " << step;
        ASSERT_EQ(db.LastUID(), expected);
      }
    }
  }
  EXPECT_GT(db.LastUID(), base);
}

TEST(Identities, LoadingManyFreshIdentitiesIsNotQuadratic) {
  // 20,000 version 5 notes, all needing a fresh identity in the same second.
  FixedClock clock(kNow);
  TNoteListCollection db;
  TMemoryStream file;
  file.WriteStreamString(std::string(51, 'h'));
  file.WriteInt32(3);
  file.WriteInt32(0);
  file.WriteInt32(1);
  file.WriteInt32(0);  // list version 0
  const int kNotes = 20000;
  file.WriteInt32(kNotes);
  TReminderTask reminder(true);
  for (int i = 0; i < kNotes; ++i) {
    file.WriteInt32(5);
    file.WriteDouble(40000);
    file.WriteStreamString("t");
    file.WriteByte(0);
    file.WriteByte(0);
    file.WriteInt32(0);
    reminder.SaveToStream(file);
    file.WriteStreamString("");
  }
  file.WriteStreamString("L");
  file.WriteInt32(0);
  file.Rewind();
  db.LoadFromStream(file);
  std::set<int32_t> uids;
  for (int i = 0; i < kNotes; ++i) uids.insert(db.List(0)->Item(i)->UID());
  EXPECT_EQ(uids.size(), static_cast<size_t>(kNotes));
  EXPECT_EQ(db.LastUID(), 0);
}

// ---- Files ---------------------------------------------------------------------------------

struct FileFixture : ListFixture {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("vellumio-store-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { std::filesystem::remove_all(dir); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::u16string Path(const char* name) { return FromUtf8((dir / name).string()); }
};

TEST_F(FileFixture, SaveToFileCreatesFoldersAndLoadsBack) {
  list.Insert(0)->SetText(u"persisted \u20AC");
  const std::u16string path = Path("deep/er/notes.sbn");
  db.SaveToFile(path);
  EXPECT_FALSE(db.IsModified());
  TNoteListCollection other(true);
  other.OpenFile(path);
  EXPECT_EQ(other.FileName(), path);
  ASSERT_EQ(other.List(0)->Count(), 1);
  EXPECT_EQ(other.List(0)->Item(0)->Text(), u"persisted \u20AC");
}

TEST_F(FileFixture, FailedSaveKeepsTheDatabaseModified) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "blocker") << "a file where a folder should be";
  list.Insert(0)->SetText(u"unsaved");
  EXPECT_ANY_THROW(db.SaveToFile(Path("blocker/notes.sbn")));
  EXPECT_TRUE(db.IsModified());
}

TEST_F(FileFixture, FileUnchangedWithinFiveSecondsOfTheLastSave) {
  const std::u16string path = Path("notes.sbn");
  db.SetFileName(path);
  EXPECT_TRUE(db.IsFileUnchanged());  // no file yet
  db.SaveToFile(path);
  platform::SetFileModifiedTime(path, kNow + 4.0 / 86400);
  EXPECT_TRUE(db.IsFileUnchanged());
  platform::SetFileModifiedTime(path, kNow + 6.0 / 86400);
  EXPECT_FALSE(db.IsFileUnchanged());
}

TEST_F(FileFixture, LoadingTakesTheFileTimeAsLastSaveTime) {
  const std::u16string path = Path("notes.sbn");
  db.SaveToFile(path);
  platform::SetFileModifiedTime(path, 45000.25);
  TNoteListCollection other(true);
  other.LoadFromFile(path);
  EXPECT_NEAR(other.LastSaveTime(), 45000.25, 1.0 / 86400);
}

TEST_F(FileFixture, ExportIsUtf16WithByteOrderMarkAndCrLf) {
  list.SetName(u"L");
  list.Insert(0)->SetText(u"\u00E9t\u00E9");
  const std::u16string path = Path("export.txt");
  db.ExportToFile(path);
  std::ifstream in(dir / "export.txt", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<uint8_t>(bytes[1]), 0xFE);
  std::u16string text(bytes.size() / 2 - 1, u'\0');
  std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
  EXPECT_EQ(text.rfind(u"Vellumio 2.2; ", 0), 0u);
  EXPECT_NE(text.find(u"\r\n" + std::u16string(67, u'*') + u"\r\n\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"L (1 notes)\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"\u00E9t\u00E9\r\n"), std::u16string::npos);
}

// A saver that keeps what it is handed.
struct RecordingSaver : ISnapshotSaver {
  struct Item { std::u16string path; std::vector<uint8_t> bytes; SnapshotFacts facts; };
  std::vector<Item>* items;
  explicit RecordingSaver(std::vector<Item>* sink) : items(sink) {}
  void Enqueue(const std::u16string& path, std::vector<uint8_t> snapshot, const SnapshotFacts& facts) override {
    items->push_back({path, std::move(snapshot), facts});
  }
  bool IsIdle() const override { return true; }
};

struct AnsweringHost : TDefaultStoreHost {
  int asked = 0;
  bool Confirm(const std::u16string& q) override {
    ++asked;
    EXPECT_NE(q.find(u"damaged database"), std::u16string::npos);
    return confirmAnswer;
  }
};

TEST_F(FileFixture, BackgroundSaveHandsTheSnapshotToTheSaver) {
  std::vector<RecordingSaver::Item> saved;
  db.SetSaver(std::make_unique<RecordingSaver>(&saved));
  AnsweringHost host;
  host.dataFolder = Path("") ;
  SetStoreHost(&host);
  list.Insert(0)->SetText(u"a");
  list.Insert(0);  // empty notes count for the facts but are not written
  db.CommitAndSave();
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].path, Path("") + u"notes.sbn");
  EXPECT_EQ(saved[0].facts.listCount, 1);
  EXPECT_EQ(saved[0].facts.noteCount, 2);
  EXPECT_FALSE(db.IsModified());
  db.CommitAndSave();  // nothing changed: nothing queued
  EXPECT_EQ(saved.size(), 1u);

  // A damaged database is only written when the user agrees.
  std::vector<uint8_t> bad(10, 0);
  TBufferReader r(bad.data(), bad.size());
  EXPECT_THROW(db.LoadFromStream(r), EDatabaseError);
  db.List(0);
  db.AddList()->Insert(0)->SetText(u"after damage");
  db.SaveIfModified();
  EXPECT_EQ(host.asked, 1);
  EXPECT_EQ(saved.size(), 1u);
  EXPECT_TRUE(db.IsModified());
  host.confirmAnswer = true;
  db.SaveIfModified();
  EXPECT_EQ(host.asked, 2);
  EXPECT_EQ(saved.size(), 2u);
  EXPECT_FALSE(db.Damaged());
  // While the error state is set nothing is saved.
  db.List(0)->Insert(0)->SetText(u"more");
  db.SetErrorState(2);
  db.SaveIfModified();
  EXPECT_EQ(saved.size(), 2u);
  SetStoreHost(nullptr);
}

}  // namespace
}  // namespace vellumio
