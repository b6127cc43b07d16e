// The helper program of the crash test: saves the numbered states from
// <first> on through the real background saver, as fast as it can, until it
// is killed. Every eighth state it waits until the saver is idle and then
// records the state's number in <confirmed file>: a state confirmed there
// has been saved completely, and no later kill may lose it.
//
//   vellumio_save_child <database> <backup folder> <first> <confirmed file>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/Utf8.h"
#include "config/AppFolders.h"
#include "platform/Platform.h"
#include "store/MainThreadQueue.h"
#include "store/NoteListCollection.h"
#include "store/SaveFailure.h"
#include "store/ThreadSaver.h"
#include "tests/support/SaveStates.h"

namespace {

using namespace vellumio;

class TExitOnFailure : public ISaveFailureReceiver {
public:
  void SaveFailed(const std::u16string&, const std::string& message) override {
    std::fprintf(stderr, "save failed: %s\n", message.c_str());
    std::exit(3);
  }
};

int Run(const std::u16string& database, const std::u16string& backups, int first,
        const std::u16string& confirmed) {
  AppFolders folders;
  folders.backupFolder = backups;
  SetFolders(folders);
  TManualQueue queue;
  TExitOnFailure failure;
  TNoteListCollection db;
  db.SetSaver(std::make_unique<TThreadSaver>(queue, &failure));
  db.SetFileName(database);
  for (int i = first;; ++i) {
    testdata::BuildSaveState(db, i);
    db.SaveIfModified();
    queue.RunPending();
    if (i % 8 != 0) continue;
    while (!db.Saver()->IsIdle()) platform::YieldTimeSlice();
    queue.RunPending();
    const std::string number = std::to_string(i);
    platform::WriteFileReplacing(confirmed, number.data(), number.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: vellumio_save_child <database> <backups> <first> <confirmed>\n");
    return 2;
  }
  try {
    return Run(FromUtf8(argv[1]), FromUtf8(argv[2]), std::atoi(argv[3]), FromUtf8(argv[4]));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
