// The background saver on real files: what it writes, what it drops, when
// it is idle, how a failure reaches the main thread, the backups it
// refreshes, and the database's side of the hand-over.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/Clock.h"
#include "base/Stream.h"
#include "config/AppFolders.h"
#include "platform/Platform.h"
#include "store/Backups.h"
#include "store/MainThreadQueue.h"
#include "store/ThreadSaver.h"
#include "store/uNotesList.h"
#include "tests/native/SaverTestSupport.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

using test::ReadAll;
using test::SaveStep;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

bool WaitIdle(const ISnapshotSaver& saver) {
  for (int i = 0; i < 10000 && !saver.IsIdle(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return saver.IsIdle();
}

// Backups go to a folder of the test; the folders are put back afterwards.
struct SaverFixture : ::testing::Test {
  test::TempFolder tmp;
  std::u16string db = tmp.U("data/notes.sbn");
  std::u16string backups = tmp.U("Backup");
  TManualQueue queue;
  test::TFaultyFileSystem files;
  test::TCountingReceiver receiver;
  AppFolders savedFolders = Folders();
  SnapshotFacts someNotes{2, 5};

  SaverFixture() {
    AppFolders f;
    f.backupFolder = backups;
    SetFolders(f);
  }
  ~SaverFixture() override { SetFolders(savedFolders); }

  std::unique_ptr<TThreadSaver> MakeSaver() {
    return std::make_unique<TThreadSaver>(queue, &receiver, files);
  }
  std::string Backup(const char16_t* suffix) {
    return ReadAll(std::filesystem::path(BackupName(db, backups, suffix)));
  }
  bool HasBackup(const char16_t* suffix) {
    return platform::FileExists(BackupName(db, backups, suffix));
  }
};

// ---- The saver alone -----------------------------------------------------------------

TEST_F(SaverFixture, WritesTheSnapshotAndLeavesNoTemporaryFile) {
  auto saver = MakeSaver();
  EXPECT_TRUE(saver->IsIdle());
  saver->Enqueue(db, Bytes("first state"), someNotes);
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(ReadAll(tmp.Path("data/notes.sbn")), "first state");
  EXPECT_EQ(test::Entries(tmp.Path("data")), std::set<std::string>{"notes.sbn"});
  EXPECT_EQ(saver->FileName(), db);
  EXPECT_EQ(queue.RunPending(), 0);
}

TEST_F(SaverFixture, OnlyTheNewestOfTheQueuedSnapshotsIsWritten) {
  auto saver = MakeSaver();
  files.HoldNextSave();
  saver->Enqueue(db, Bytes("A"), someNotes);
  files.WaitUntilHeld();
  saver->Enqueue(db, Bytes("B"), someNotes);
  saver->Enqueue(db, Bytes("C"), someNotes);
  EXPECT_FALSE(saver->IsIdle());
  files.Release();
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(files.Written(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(ReadAll(tmp.Path("data/notes.sbn")), "C");
}

TEST_F(SaverFixture, IsNotIdleWhileASnapshotIsBeingWritten) {
  auto saver = MakeSaver();
  files.HoldNextSave();
  saver->Enqueue(db, Bytes("A"), someNotes);
  files.WaitUntilHeld();
  EXPECT_FALSE(saver->IsIdle());
  files.Release();
  EXPECT_TRUE(WaitIdle(*saver));
}

TEST_F(SaverFixture, DestructionWritesTheSnapshotStillQueued) {
  auto saver = MakeSaver();
  files.HoldNextSave();
  saver->Enqueue(db, Bytes("in progress"), someNotes);
  files.WaitUntilHeld();
  saver->Enqueue(db, Bytes("queued last"), someNotes);
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    files.Release();
  });
  saver.reset();
  release.join();
  EXPECT_EQ(ReadAll(tmp.Path("data/notes.sbn")), "queued last");
}

TEST_F(SaverFixture, AFailureReachesTheReceiverOnlyOnTheMainThread) {
  auto saver = MakeSaver();
  files.failAt = SaveStep::kCreate;
  saver->Enqueue(db, Bytes("x"), someNotes);
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(receiver.count, 0) << "called from the worker thread";
  EXPECT_EQ(queue.RunPending(), 1);
  EXPECT_EQ(receiver.count, 1);
  EXPECT_EQ(receiver.lastPath, db);
  EXPECT_NE(receiver.lastMessage.find("creating the temporary file"), std::string::npos)
      << receiver.lastMessage;
  // The next save goes through again.
  files.failAt = SaveStep::kNone;
  saver->Enqueue(db, Bytes("y"), someNotes);
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(ReadAll(tmp.Path("data/notes.sbn")), "y");
  EXPECT_EQ(queue.RunPending(), 0);
}

TEST_F(SaverFixture, AFailureNotifiedAfterShutdownReachesNobody) {
  auto saver = MakeSaver();
  files.failAt = SaveStep::kWrite;
  saver->Enqueue(db, Bytes("x"), someNotes);
  ASSERT_TRUE(WaitIdle(*saver));
  saver.reset();
  EXPECT_EQ(queue.RunPending(), 1);
  EXPECT_EQ(receiver.count, 0);
}

// ---- Backups through the saver ----------------------------------------------------------

TEST_F(SaverFixture, OneBackupGenerationPerFifteenMinutes) {
  FixedClock clock(platform::LocalNow());
  auto saver = MakeSaver();
  saver->Enqueue(db, Bytes("one"), someNotes);
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(Backup(u"0"), "one");

  clock.Advance(10.0 / 1440);
  saver->Enqueue(db, Bytes("two"), someNotes);
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(ReadAll(tmp.Path("data/notes.sbn")), "two");
  EXPECT_EQ(Backup(u"0"), "one");
  EXPECT_FALSE(HasBackup(u"1"));

  clock.Advance(6.0 / 1440);
  saver->Enqueue(db, Bytes("three"), someNotes);
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(Backup(u"0"), "three");
  EXPECT_EQ(Backup(u"1"), "one");
  EXPECT_EQ(saver->LastBackupError(), "");
}

TEST_F(SaverFixture, ASingleEmptyListLeavesTheBackupsAlone) {
  auto saver = MakeSaver();
  saver->Enqueue(db, Bytes("empty"), SnapshotFacts{1, 0});
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(ReadAll(tmp.Path("data/notes.sbn")), "empty");
  EXPECT_FALSE(std::filesystem::exists(tmp.Path("Backup")));
}

TEST_F(SaverFixture, AFailedBackupDoesNotFailTheSave) {
  test::WriteText(tmp.Path("Backup"), "a file where the folder should be");
  auto saver = MakeSaver();
  saver->Enqueue(db, Bytes("saved"), someNotes);
  ASSERT_TRUE(WaitIdle(*saver));
  EXPECT_EQ(ReadAll(tmp.Path("data/notes.sbn")), "saved");
  EXPECT_EQ(queue.RunPending(), 0);
  EXPECT_EQ(saver->LastBackupError().rfind("Unable to create backup files.\n", 0), 0u)
      << saver->LastBackupError();
}

// ---- The database's side ----------------------------------------------------------------

struct DatabaseSaveFixture : SaverFixture {
  TNoteListCollection main;
  TDatabaseSaveFailure failure{main, &receiver};

  DatabaseSaveFixture() {
    main.SetSaver(std::make_unique<TThreadSaver>(queue, &failure, files));
    main.SetFileName(db);
  }
  void AddNote(const std::u16string& text) { main.List(0)->Add()->SetText(text); }
  // The notes of the file on disk, read by a separate database.
  std::vector<std::u16string> NotesOnDisk() {
    TNoteListCollection other(true);
    auto file = platform::OpenForReading(db);
    TFileReadStream stream(std::move(file));
    other.LoadFromStream(stream);
    std::vector<std::u16string> texts;
    for (int i = 0; i < other.List(0)->Count(); ++i)
      texts.push_back(other.List(0)->Item(i)->Text());
    return texts;
  }
};

TEST_F(DatabaseSaveFixture, CommitAndSaveHandsTheSnapshotToTheSaver) {
  AddNote(u"hello");
  main.CommitAndSave();
  EXPECT_FALSE(main.IsModified());
  ASSERT_TRUE(WaitIdle(*main.Saver()));
  EXPECT_EQ(NotesOnDisk(), std::vector<std::u16string>{u"hello"});
  EXPECT_EQ(Backup(u"0"), ReadAll(tmp.Path("data/notes.sbn")));
}

TEST_F(DatabaseSaveFixture, DestroyingRightAfterAChangeWritesIt) {
  auto doomed = std::make_unique<TNoteListCollection>();
  doomed->SetSaver(std::make_unique<TThreadSaver>(queue, nullptr, files));
  doomed->SetFileName(db);
  doomed->List(0)->Add()->SetText(u"last words");
  doomed->CommitAndSave();
  doomed.reset();
  EXPECT_EQ(NotesOnDisk(), std::vector<std::u16string>{u"last words"});
}

TEST_F(DatabaseSaveFixture, LoadFromFileWaitsUntilTheSaverIsIdle) {
  files.HoldNextSave();
  AddNote(u"written late");
  main.SaveIfModified();
  files.WaitUntilHeld();
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    files.Release();
  });
  // The file does not exist until the held save completes.
  EXPECT_NO_THROW(main.LoadFromFile(db));
  release.join();
  ASSERT_EQ(main.List(0)->Count(), 1);
  EXPECT_EQ(main.List(0)->Item(0)->Text(), u"written late");
}

// Loading must not leave a handle on the file: Windows refuses to move a
// file over one that is open.
TEST_F(DatabaseSaveFixture, SavingRightAfterLoadingReplacesTheFile) {
  AddNote(u"first");
  main.CommitAndSave();
  ASSERT_TRUE(WaitIdle(*main.Saver()));
  main.LoadFromFile(db);
  AddNote(u"second");
  main.CommitAndSave();
  ASSERT_TRUE(WaitIdle(*main.Saver()));
  queue.RunPending();
  EXPECT_EQ(receiver.count, 0) << receiver.lastMessage;
  EXPECT_EQ(NotesOnDisk(), (std::vector<std::u16string>{u"first", u"second"}));
}

TEST_F(DatabaseSaveFixture, AFailedSaveStopsSavingUntilTheErrorIsCleared) {
  AddNote(u"kept");
  main.CommitAndSave();
  ASSERT_TRUE(WaitIdle(*main.Saver()));
  const std::string before = ReadAll(tmp.Path("data/notes.sbn"));

  files.failAt = SaveStep::kMove;
  AddNote(u"lost?");
  main.CommitAndSave();
  ASSERT_TRUE(WaitIdle(*main.Saver()));
  EXPECT_EQ(main.ErrorState(), 0) << "set on the main thread only";
  queue.RunPending();
  EXPECT_EQ(main.ErrorState(), 2);
  EXPECT_EQ(receiver.count, 1);
  EXPECT_TRUE(main.IsModified()) << "what failed to reach the disk must be saved again";
  EXPECT_EQ(ReadAll(tmp.Path("data/notes.sbn")), before);

  const int moves = files.Moves();
  main.SaveIfModified();
  EXPECT_TRUE(main.Saver()->IsIdle());
  EXPECT_EQ(files.Moves(), moves) << "no save while the error state is 2";

  files.failAt = SaveStep::kNone;
  main.SetErrorState(0);
  main.SaveIfModified();
  ASSERT_TRUE(WaitIdle(*main.Saver()));
  EXPECT_EQ(NotesOnDisk(), (std::vector<std::u16string>{u"kept", u"lost?"}));
}

// Whether a save may replace a backup is decided by the database as it was
// when the snapshot was taken, not as it is when the worker gets to it.
TEST_F(DatabaseSaveFixture, TheBackupDecisionUsesTheStateOfTheSnapshot) {
  files.HoldNextSave();
  main.Changed(true);
  main.SaveIfModified();  // one empty list
  files.WaitUntilHeld();
  AddNote(u"added while the empty state is written");
  files.Release();
  ASSERT_TRUE(WaitIdle(*main.Saver()));
  EXPECT_FALSE(HasBackup(u"0"));

  files.HoldNextSave();
  main.SaveIfModified();  // one note
  files.WaitUntilHeld();
  main.DeleteList(0);
  main.AddList();
  files.Release();
  ASSERT_TRUE(WaitIdle(*main.Saver()));
  EXPECT_TRUE(HasBackup(u"0"));
}

}  // namespace
}  // namespace vellumio
