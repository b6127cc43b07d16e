// Crash consistency: a helper program saves numbered states through the
// real saver in a loop and is killed at random moments. After every kill
// the database file must load and hold exactly one of the saved states, no
// older than the last state the helper saw saved completely, and every
// backup that exists must load too.
//
// VELLUMIO_CRASH_KILLS sets the number of kills (more by hand).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "base/Stream.h"
#include "platform/Platform.h"
#include "store/Backups.h"
#include "store/NoteListCollection.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/SaveStates.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

#ifdef _WIN32
// Every process start under Wine costs a few hundred milliseconds.
constexpr int kDefaultKills = 80;
constexpr int kMaxDelayMs = 400;
#else
constexpr int kDefaultKills = 220;
constexpr int kMaxDelayMs = 120;
#endif

int Kills() {
  const char* value = std::getenv("VELLUMIO_CRASH_KILLS");
  return value && std::atoi(value) > 0 ? std::atoi(value) : kDefaultKills;
}

// The state the file holds; empty when it does not load or is no state.
std::optional<int> StateOf(const std::u16string& path, std::string& error) {
  try {
    TNoteListCollection db(true);
    TFileReadStream stream(platform::OpenForReading(path));
    db.LoadFromStream(stream);
    auto state = testdata::MatchSaveState(db);
    if (!state) error = "loads but is none of the saved states";
    return state;
  } catch (const std::exception& e) {
    error = e.what();
    return std::nullopt;
  }
}

int Confirmed(const std::filesystem::path& file) {
  const std::string text = test::ReadAll(file);
  return text.empty() ? -1 : std::atoi(text.c_str());
}

TEST(SaveCrash, EveryKillLeavesALoadableSavedState) {
  test::TempFolder tmp;
  const std::u16string db = tmp.U("notes.sbn"), backups = tmp.U("Backup");
  const std::filesystem::path confirmedFile = tmp.Path("confirmed");
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> delay(5, kMaxDelayMs);
  const int kills = Kills();
  int unreadable = 0, killedRunning = 0, last = -1, newStates = 0;
  for (int k = 0; k < kills; ++k) {
    const int confirmedBefore = Confirmed(confirmedFile);
    {
      test::ChildProcess child(VELLUMIO_SAVE_CHILD,
                               {tmp.Path("notes.sbn").string(), tmp.Path("Backup").string(),
                                std::to_string(last + 1), confirmedFile.string()});
      std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
      if (child.Running()) ++killedRunning;
      child.Kill();
    }
    if (!platform::FileExists(db)) continue;  // killed before its first save
    std::string error;
    const auto state = StateOf(db, error);
    if (!state) {
      ++unreadable;
      ADD_FAILURE() << "kill " << k << ": " << error;
      continue;
    }
    EXPECT_GE(*state, last) << "kill " << k << ": went back to an older state";
    EXPECT_GE(*state, std::max(Confirmed(confirmedFile), confirmedBefore))
        << "kill " << k << ": lost a state that was saved completely";
    if (*state > last) ++newStates;
    last = std::max(last, *state);
    for (const char16_t* suffix : kBackupSuffixes) {
      const std::u16string backup = BackupName(db, backups, suffix);
      if (platform::FileExists(backup)) {
        EXPECT_TRUE(StateOf(backup, error)) << "backup: " << error;
      }
    }
  }
  std::printf(
      "[ crash    ] %d kills (%d while running), %d unreadable databases, %d new states, "
      "last state %d\n",
      kills, killedRunning, unreadable, newStates, last);
  EXPECT_EQ(unreadable, 0);
  EXPECT_GT(killedRunning, kills / 2) << "the helper should still be saving when it is killed";
  EXPECT_GT(newStates, kills / 4) << "too few kills saw a new state: the test would prove little";
}

}  // namespace
}  // namespace vellumio
