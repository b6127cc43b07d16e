// The main window's life cycle in this process, on real windows: start-up
// in portable mode (settings and database in a scratch program folder),
// the second-copy and stop messages, the refused close and the exit
// procedure. A stand-in note view plays the in-place editor: committing
// its edit changes the database, which is what the stop message must not
// lose.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "app/ApplicationWindow_win.h"
#include "app/Main_win.h"
#include "config/AppFolders.h"
#include "store/NoteItem.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"
#include "tests/support/TestFiles.h"

namespace vellumio::app {
namespace {

namespace fs = std::filesystem;

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

// An editor with unsaved text: CommitEdit writes it into the list.
class TPendingEditView final : public INoteView {
public:
  TPendingEditView(TNotesList& list, int& commits) : list_(list), commits_(commits) {}
  void NotesChanged() override {}
  void CommitEdit() override {
    ++commits_;
    if (pending_) list_.Add()->SetText(u"typed before the stop");
    pending_ = false;
  }
  void SelectNote(TNoteItem&) override {}
  void SchemeChanged(const std::string&) override {}

private:
  TNotesList& list_;
  int& commits_;
  bool pending_ = true;
};

class TPendingEditFactory final : public INoteViewFactory {
public:
  int commits = 0;
  std::unique_ptr<INoteView> CreateView(TNotesList& list) override {
    return std::make_unique<TPendingEditView>(list, commits);
  }
};

// Pumps messages until WM_QUIT arrives (true) or the time is up.
bool PumpUntilQuit(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return true;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
  return false;
}

bool DatabaseHolds(const std::u16string& file, const std::u16string& text, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    try {
      TNoteListCollection database(true);
      database.LoadFromFile(file);
      for (int l = 0; l < database.ListCount(); ++l)
        for (int n = 0; n < database.List(l)->Count(); ++n)
          if (database.List(l)->Item(n)->Text() == text) return true;
    } catch (const std::exception&) {
      // Not written yet, or being replaced right now.
    }
    Sleep(50);
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

class MainWindowWin : public ::testing::Test {
protected:
  test::TempFolder temp;
  AppFolders saved = Folders();
  TPendingEditFactory views;
  std::unique_ptr<TApplicationWindow> application;
  std::unique_ptr<TfMain> main;

  void SetUp() override {
    fs::create_directories(temp.Path("program/Languages"));
    fs::copy_file(fs::path(VELLUMIO_TEST_SOURCE_DIR) / "../Languages/english.lng",
                  temp.Path("program/Languages/english.lng"));
    // Portable mode, no language dialog at start, and the automatic update
    // check sent to a closed loopback port.
    test::WriteText(temp.Path("program/Vellumio.ini"),
                    "[Dialogs\\fSelectLang]\r\nDefaultAnswer=1\r\n"
                    "[Settings\\General]\r\nUpdateUrl=http://127.0.0.1:9\r\n");
    SetFolders(MakeAppFolders(temp.U("program"), temp.U("documents"), temp.U("appdata"), true));
    SetNoteViewFactory(&views);
    ASSERT_TRUE(TfMain::RegisterClass(Module()));
    application = std::make_unique<TApplicationWindow>(Module());
    main = std::make_unique<TfMain>(Module(), *application);
    main->Create();
  }
  void TearDown() override {
    main.reset();
    application.reset();
    SetNoteViewFactory(nullptr);
    SetFolders(saved);
  }
  std::u16string DatabaseFile() const { return Folders().programFolder + u"notes.sbn"; }
};

TEST_F(MainWindowWin, StartsReadyWithTheDatabaseBesideThePortableProgram) {
  EXPECT_TRUE(main->Ready());
  EXPECT_EQ(main->Loader().Database().FileName(), DatabaseFile());
  EXPECT_TRUE(fs::exists(temp.Path("program/notes.sbn")));
  EXPECT_EQ(main->ErrorMode(), 0);
  wchar_t caption[64] = {};
  GetWindowTextW(main->Handle(), caption, 64);
  EXPECT_STREQ(caption, L"ScribbaloonStarted");
  EXPECT_EQ(FindWindowW(L"TfMain", L"ScribbaloonStarted"), main->Handle());
}

TEST_F(MainWindowWin, SecondCopyMessageShowsTheWindowOnlyWithTheRightArguments) {
  EXPECT_EQ(SendMessageW(main->Handle(), kOpenUserMessage, 1, 1179), 0);
  EXPECT_EQ(SendMessageW(main->Handle(), kOpenUserMessage, 1179, 1179), 1179);
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
  EXPECT_FALSE(main->Hidden());
  EXPECT_TRUE(main->ShownByUser());
}

TEST_F(MainWindowWin, CloseIsRefusedOutsideTheExitProcedure) {
  SendMessageW(main->Handle(), WM_CLOSE, 0, 0);
  SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(PumpUntilQuit(500));
  EXPECT_TRUE(IsWindow(main->Handle()));
}

TEST_F(MainWindowWin, StopMessageEndsEditingAndSavesBeforeTheEnd) {
  TNoteListCollection& database = main->Loader().Database();
  ASSERT_GE(database.ListCount(), 1);
  EXPECT_EQ(SendMessageW(main->Handle(), kStopUserMessage, 1, 1), 0);  // wrong arguments
  EXPECT_EQ(views.commits, 0);
  EXPECT_EQ(SendMessageW(main->Handle(), kStopUserMessage, 1178, 1178), 1178);
  EXPECT_GE(views.commits, 1);
  ASSERT_TRUE(PumpUntilQuit(3000));
  // Written by the stop itself, before the window (and its loader) go.
  EXPECT_TRUE(DatabaseHolds(DatabaseFile(), u"typed before the stop", 5000));
}

TEST_F(MainWindowWin, ExitProcedureSavesAndEndsTheMessageLoop) {
  main->ExitSteps();
  ASSERT_TRUE(PumpUntilQuit(3000));
  EXPECT_TRUE(DatabaseHolds(DatabaseFile(), u"typed before the stop", 5000));
}

TEST_F(MainWindowWin, SessionEndSavesAndIsAllowed) {
  EXPECT_EQ(SendMessageW(main->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
  // The exit procedure ran: the message loop ends (and no quit is left
  // behind for the next test's loops).
  EXPECT_TRUE(PumpUntilQuit(3000));
  EXPECT_TRUE(DatabaseHolds(DatabaseFile(), u"typed before the stop", 5000));
  // The system ends the process right after WM_ENDSESSION, without the
  // destructors that write the settings: they are written there.
  main->Loader().ConfStore().IndicatorSettings.FontSize = 4;
  SendMessageW(main->Handle(), WM_ENDSESSION, TRUE, 0);
  const std::string ini = test::ReadAll(temp.Path("program/Vellumio.ini"));
  const std::string written("F\0o\0n\0t\0S\0i\0z\0e\0=\0" "4\0", 20);  // UTF-16 text
  EXPECT_NE(ini.find(written), std::string::npos);
}

}  // namespace
}  // namespace vellumio::app
