// Every file step of a save made to fail in turn: the database file keeps
// its previous bytes exactly, the failure reaches the receiver once, and
// the saver is idle again. And a move refused for a moment by another
// program is tried again.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "config/AppFolders.h"
#include "platform/Platform.h"
#include "store/MainThreadQueue.h"
#include "store/SnapshotWriter.h"
#include "store/ThreadSaver.h"
#include "tests/native/SaverTestSupport.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

using test::ReadAll;
using test::SaveStep;

bool WaitIdle(const ISnapshotSaver& saver) {
  for (int i = 0; i < 10000 && !saver.IsIdle(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return saver.IsIdle();
}

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

const std::string kPrevious = std::string("previous database\0with a zero", 29);

TEST(SaveFault, EveryFailedStepLeavesTheDatabaseAsItWas) {
  const struct {
    SaveStep step;
    const char* named;  // in the message
  } cases[] = {
      {SaveStep::kFolder, "creating the folder"},
      {SaveStep::kCreate, "creating the temporary file"},
      {SaveStep::kWrite, "writing the temporary file"},
      {SaveStep::kFlush, "flushing the temporary file"},
      {SaveStep::kClose, "closing the temporary file"},
      {SaveStep::kMove, "replacing the database file"},
  };
  const AppFolders saved = Folders();
  SetFolders(AppFolders{});  // no backups: only the save itself is under test
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    test::TempFolder tmp;
    test::WriteText(tmp.Path("notes.sbn"), kPrevious);
    TManualQueue queue;
    test::TCountingReceiver receiver;
    test::TFaultyFileSystem files;
    files.failAt = c.step;
    {
      TThreadSaver saver(queue, &receiver, files);
      saver.Enqueue(tmp.U("notes.sbn"), Bytes(std::string(100000, 'n')), SnapshotFacts{1, 1});
      ASSERT_TRUE(WaitIdle(saver));
      queue.RunPending();
      EXPECT_EQ(receiver.count, 1);
      EXPECT_NE(receiver.lastMessage.find(c.named), std::string::npos) << receiver.lastMessage;
      EXPECT_TRUE(saver.IsIdle());
      EXPECT_EQ(ReadAll(tmp.Path("notes.sbn")), kPrevious);
    }
    EXPECT_EQ(queue.RunPending(), 0) << "reported more than once";
    EXPECT_EQ(ReadAll(tmp.Path("notes.sbn")), kPrevious);
    // A half-written temporary file is removed; one that is complete but
    // could not be moved may stay and is overwritten by the next save.
    if (c.step == SaveStep::kWrite || c.step == SaveStep::kFlush || c.step == SaveStep::kClose) {
      EXPECT_FALSE(platform::FileExists(tmp.U("notes.$sbn")));
    }
  }
  SetFolders(saved);
}

TEST(SaveFault, AFolderThatCannotBeCreatedFailsTheSaveOnRealFiles) {
  test::TempFolder tmp;
  test::WriteText(tmp.Path("file"), "in the way");
  TManualQueue queue;
  test::TCountingReceiver receiver;
  TThreadSaver saver(queue, &receiver);
  const std::u16string db = tmp.U("file") + u"/sub/notes.sbn";
  saver.Enqueue(db, Bytes("x"), SnapshotFacts{1, 1});
  ASSERT_TRUE(WaitIdle(saver));
  queue.RunPending();
  EXPECT_EQ(receiver.count, 1);
  EXPECT_EQ(ReadAll(tmp.Path("file")), "in the way");
}

TEST(SaveFault, ABusyMoveIsTriedAgain) {
  test::TempFolder tmp;
  test::WriteText(tmp.Path("notes.sbn"), kPrevious);
  test::TFaultyFileSystem files;
  files.busyMoves = 3;
  WriteSnapshotFile(files, tmp.U("notes.sbn"), Bytes("new"),
                    MoveRetry{5, std::chrono::milliseconds(1)});
  EXPECT_EQ(files.Moves(), 4);
  EXPECT_EQ(ReadAll(tmp.Path("notes.sbn")), "new");
}

TEST(SaveFault, AMoveBusyForTooLongFailsAndLeavesTheDatabase) {
  test::TempFolder tmp;
  test::WriteText(tmp.Path("notes.sbn"), kPrevious);
  test::TFaultyFileSystem files;
  files.busyMoves = 100;
  const std::string error = test::ErrorOf([&] {
    WriteSnapshotFile(files, tmp.U("notes.sbn"), Bytes("new"),
                      MoveRetry{5, std::chrono::milliseconds(1)});
  });
  EXPECT_NE(error.find("in use by another program"), std::string::npos) << error;
  EXPECT_EQ(files.Moves(), 5);
  EXPECT_EQ(ReadAll(tmp.Path("notes.sbn")), kPrevious);
}

TEST(SaveFault, OtherMoveFailuresAreNotRetried) {
  test::TempFolder tmp;
  test::TFaultyFileSystem files;
  files.failAt = SaveStep::kMove;
  EXPECT_THROW(WriteSnapshotFile(files, tmp.U("notes.sbn"), Bytes("new")), std::runtime_error);
  EXPECT_EQ(files.Moves(), 1);
}

}  // namespace
}  // namespace vellumio
