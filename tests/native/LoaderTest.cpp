// The application object: creation over real language and scheme files in
// a scratch program folder, the modal bracket, opening the database, the
// date format, the wait for background workers, and the folder rules.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Utf8.h"
#include "config/AppFolders.h"
#include "config/ClockStyle.h"
#include "config/Loader.h"
#include "base/DateFormat.h"
#include "config/PortableIni.h"
#include "platform/Platform.h"
#include "store/MainThreadQueue.h"
#include "store/NoteItem.h"
#include "store/NotesList.h"
#include "tests/native/ConfStoreTestSupport.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

namespace fs = std::filesystem;

class TRecordingWindow final : public ILoaderWindow {
public:
  std::vector<std::string> calls;
  bool answer = false;
  void ModalStarted() override { calls.push_back("modal"); }
  void ModalEnded(bool refresh) override { calls.push_back(refresh ? "end+refresh" : "end"); }
  void ApplySettings() override { calls.push_back("apply"); }
  void ShowErrorBar(int mode) override { calls.push_back("error" + std::to_string(mode)); }
  bool Confirm(const std::u16string&) override { return answer; }
};

class LoaderTest : public ::testing::Test {
protected:
  test::TempFolder temp;
  AppFolders saved = Folders();
  std::u16string registryFile = temp.U("registry.ini");
  test::TFakeStartupLink link;

  LoaderTest() {
    fs::create_directories(temp.Path("program/Languages"));
    fs::create_directories(temp.Path("program/Schemes"));
    fs::create_directories(temp.Path("documents"));
    SetFolders(MakeAppFolders(temp.U("program"), temp.U("documents"), temp.U("appdata"), false));
  }
  ~LoaderTest() override { SetFolders(saved); }

  void CopyShipped(const char* folder, const char* file) {
    fs::copy_file(fs::path(VELLUMIO_TEST_SOURCE_DIR) / ".." / folder / file,
                  temp.Path(std::string("program/") + folder + "/" + file),
                  fs::copy_options::overwrite_existing);
  }
  void WriteLanguage(const char* file, const std::string& text) {
    test::WriteText(temp.U(std::string("program/Languages/") + file), text);
  }
  void WriteRegistry(const std::string& text) { test::WriteText(registryFile, text); }

  std::unique_ptr<TLoader> Make(IMainThreadQueue* queue = nullptr) {
    TLoaderServices services;
    services.confStore.startupLink = &link;
    services.confStore.openRegistry = [this](const std::u16string&) {
      return std::make_unique<TPortableIni>(registryFile);
    };
    services.mainThreadQueue = queue;
    return std::make_unique<TLoader>(std::move(services));
  }
};

TEST_F(LoaderTest, TextsComeFromTheChosenLanguageWithEnglishBehindIt) {
  WriteLanguage("english.lng",
                "[LANG_INFO]\r\nName=English\r\nForBuild=108\r\n[FMAIN]\r\nmOnlyEnglish=Only here\r\n"
                "mBoth=English text\r\n");
  WriteLanguage("other.lng",
                "[LANG_INFO]\r\nName=Other\r\nForBuild=108\r\n[FMAIN]\r\n"
                "mBoth=Scribbaloon speaks\\nanother line\r\n");
  WriteRegistry("[LangModule]\r\nCurrentLanguage=OTHER.LNG\r\nIsLangModified=0\r\n");
  auto loader = Make();
  ASSERT_EQ(Loader(), loader.get());
  EXPECT_EQ(loader->LangModule().CurrentFileName(), u"other.lng");
  EXPECT_EQ(loader->GetText(u"FMAIN", u"mBoth"), u"Vellumio speaks\r\nanother line");
  EXPECT_EQ(loader->GetText(u"fmain", u"mOnlyEnglish"), u"Only here");
  EXPECT_EQ(loader->GetText(u"FMAIN", u"mNowhere"), u"no-value");
  EXPECT_EQ(GetText(u"FMAIN", u"mOnlyEnglish"), u"Only here");
  loader.reset();
  EXPECT_EQ(Loader(), nullptr);
  EXPECT_EQ(GetText(u"FMAIN", u"mBoth"), u"error");
}

TEST_F(LoaderTest, AnUnreadableOrMissingLanguageDoesNotStopTheStart) {
  WriteLanguage("english.lng", "[FMAIN]\r\nmHello=Hello\r\n");
  WriteRegistry("[LangModule]\r\nCurrentLanguage=broken.lng\r\n");
  WriteLanguage("broken.lng", "[FMAIN]\r\nmHello=Broken\r\n");
  fs::permissions(temp.Path("program/Languages/broken.lng"), fs::perms::none);
  const bool readable = static_cast<bool>(std::ifstream(temp.Path("program/Languages/broken.lng")));
  auto loader = Make();
  if (!readable) {
    EXPECT_EQ(loader->GetText(u"FMAIN", u"mHello"), u"Hello");
  }
  fs::permissions(temp.Path("program/Languages/broken.lng"), fs::perms::owner_all);
  loader.reset();

  fs::remove_all(temp.Path("program/Languages"));
  auto bare = Make();
  EXPECT_EQ(bare->LangModule().CurrentFileName(), u"");
  EXPECT_EQ(bare->GetText(u"FMAIN", u"mHello"), u"no-value");
}

TEST_F(LoaderTest, LanguageAndSchemeChoicesAreWrittenBackAtTheEnd) {
  CopyShipped("Languages", "english.lng");
  CopyShipped("Languages", "german.lng");
  CopyShipped("Schemes", "default.sch");
  CopyShipped("Schemes", "vellumio.sch");
  {
    auto loader = Make();
    TLangModule& lang = loader->LangModule();
    for (size_t i = 0; i < lang.DisplayNames().size(); ++i)
      if (lang.FileNames()[lang.DisplayNames()[i].fileIndex] == u"german.lng")
        lang.SetCurrentIndex(static_cast<int>(i));
    loader->SchModule().SetCurrentFile(u"default.sch");
  }
  TPortableIni stored(registryFile);
  EXPECT_EQ(stored.ReadString(u"LangModule", u"CurrentLanguage", u""), u"german.lng");
  EXPECT_EQ(stored.ReadString(u"ColorScheme", u"CurrentScheme", u""), u"default.sch");
}

TEST_F(LoaderTest, ModalBracketTellsTheWindowOnlyAtTheOuterLevels) {
  auto loader = Make();
  TRecordingWindow window;
  loader->AttachWindow(&window);
  EXPECT_FALSE(loader->IsModal());
  loader->BeginModal();
  loader->BeginModal();
  EXPECT_TRUE(loader->IsModal());
  loader->EndModal(false);
  EXPECT_TRUE(loader->IsModal());
  loader->EndModal(true);
  EXPECT_FALSE(loader->IsModal());
  EXPECT_EQ(window.calls, (std::vector<std::string>{"modal", "modal", "end+refresh"}));
  loader->AttachWindow(nullptr);
}

TEST_F(LoaderTest, EndOfModalWorkReloadsTheSchemeFile) {
  const char* file = "program/Schemes/vellumio.sch";
  test::WriteText(temp.U(file), "[SCHEME_INFO]\r\nName=Mine\r\n[SCHEME]\r\nTAB_COLOR=#102030\r\n");
  auto loader = Make();
  EXPECT_EQ(loader->Scheme().Name, u"Mine");
  const auto before = loader->Scheme().TabColor;
  loader->BeginModal();
  test::WriteText(temp.U(file), "[SCHEME_INFO]\r\nName=Mine\r\n[SCHEME]\r\nTAB_COLOR=#405060\r\n");
  EXPECT_EQ(loader->Scheme().TabColor, before);  // not while the dialog is open
  loader->EndModal(false);
  EXPECT_EQ(loader->Scheme().TabColor, RgbColor(0x40, 0x50, 0x60));
}

TEST_F(LoaderTest, OpeningAMissingDatabaseShowsTheErrorBarOnce) {
  WriteRegistry("[Settings\\Database]\r\nDatabaseFile=" + ToUtf8(temp.U("elsewhere/mine.sbn")) + "\r\n");
  auto loader = Make();
  TRecordingWindow window;
  loader->AttachWindow(&window);
  loader->ApplySettings();
  EXPECT_EQ(loader->Database().ErrorState(), 1);
  EXPECT_FALSE(platform::FileExists(temp.U("elsewhere/mine.sbn")));  // not the default place
  loader->OpenDatabase();  // an error is shown: nothing more happens
  EXPECT_EQ(window.calls, (std::vector<std::string>{"error1", "apply"}));
  loader->AttachWindow(nullptr);
}

TEST_F(LoaderTest, TheDefaultDatabaseIsCreatedAndOpened) {
  auto loader = Make();
  TRecordingWindow window;
  loader->AttachWindow(&window);
  loader->ApplySettings();
  const std::u16string file = Folders().dataFolder + u"notes.sbn";
  EXPECT_TRUE(platform::FileExists(file));
  EXPECT_EQ(loader->Database().ErrorState(), 0);
  EXPECT_EQ(loader->Database().FileName(), file);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"apply"}));
  loader->AttachWindow(nullptr);
}

TEST_F(LoaderTest, TheDatabaseIsSavedWhenTheLoaderGoes) {
  std::u16string file;
  {
    auto loader = Make();
    loader->ApplySettings();
    file = loader->Database().FileName();
    TNotesList* list = loader->Database().List(0);
    ASSERT_NE(list, nullptr);
    list->Add()->SetText(u"kept at exit");
  }
  TNoteListCollection reread(true);
  reread.LoadFromFile(file);
  ASSERT_GE(reread.ListCount(), 1);
  ASSERT_EQ(reread.List(0)->Count(), 1);
  EXPECT_EQ(reread.List(0)->Item(0)->Text(), u"kept at exit");
}

TEST_F(LoaderTest, DestructionWaitsForWorkersStillRunning) {
  auto loader = Make();
  TLoader* raw = loader.get();
  raw->ChangeWorkerCount(1);
  std::atomic<bool> finished{false};
  std::thread worker([&finished, raw] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    finished = true;
    raw->ChangeWorkerCount(-1);
  });
  const auto start = std::chrono::steady_clock::now();
  loader.reset();
  EXPECT_TRUE(finished.load());
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
  worker.join();
}

TEST_F(LoaderTest, TheLoaderIsTheStoresHostWhileItLives) {
  WriteRegistry("[Settings\\Indicator]\r\nShowSubject=0\r\nShowReturns=1\r\n");
  {
    auto loader = Make();
    TRecordingWindow window;
    loader->AttachWindow(&window);
    EXPECT_EQ(&StoreHost(), loader.get());
    EXPECT_FALSE(StoreHost().ShowSubject());
    EXPECT_TRUE(StoreHost().ShowReturns());
    EXPECT_EQ(StoreHost().DefaultDataFolder(), Folders().dataFolder);
    window.answer = true;
    EXPECT_TRUE(StoreHost().Confirm(u"?"));
    loader->AttachWindow(nullptr);
    EXPECT_FALSE(StoreHost().Confirm(u"?"));  // no window, no Yes
  }
  EXPECT_NE(dynamic_cast<TDefaultStoreHost*>(&StoreHost()), nullptr);
}

TEST_F(LoaderTest, DateFormatAlwaysShowsTheWeekday) {
  struct Case {
    const char* languageValue;  // nullptr: no DateFormat key
    std::u16string expected;
  };
  const std::u16string system = FormatSettings::System().longDateFormat;
  const std::u16string systemWithDay =
      system.find(u"ddd") == std::u16string::npos ? u"dddd, " + system : system;
  const Case cases[] = {
      {"dd.mm.yyyy", u"dddd, dd.mm.yyyy"},
      {"ddd d mmm yyyy", u"ddd d mmm yyyy"},
      {"dddd d mmmm", u"dddd d mmmm"},
      {"", systemWithDay},
      {"error", systemWithDay},
      {nullptr, systemWithDay},
  };
  for (const Case& c : cases) {
    std::string text = "[LANG_INFO]\r\nName=English\r\nForBuild=108\r\n";
    if (c.languageValue) text += std::string("DateFormat=") + c.languageValue + "\r\n";
    WriteLanguage("english.lng", text);
    auto loader = Make();
    EXPECT_EQ(loader->DateFormat(), c.expected) << (c.languageValue ? c.languageValue : "(none)");
  }
}

TEST(AppFolders, FoldersOfARun) {
  const AppFolders f = MakeAppFolders(u"/prog", u"/docs/", u"/roaming", false);
  EXPECT_EQ(f.programFolder, WithTrailingSeparator(u"/prog"));
  EXPECT_EQ(f.dataFolder, u"/docs/");
  EXPECT_EQ(f.languagesFolder, WithTrailingSeparator(WithTrailingSeparator(u"/prog") + u"Languages"));
  EXPECT_EQ(f.userDataFolder, WithTrailingSeparator(WithTrailingSeparator(u"/roaming") + u"Vellumio"));
  EXPECT_EQ(f.backupFolder, WithTrailingSeparator(f.userDataFolder + u"Backup"));

  // No application-data folder: "AppData" beside the program, without the
  // product name.
  const AppFolders bare = MakeAppFolders(u"/prog", u"/docs/", u"", false);
  EXPECT_EQ(bare.userDataFolder, WithTrailingSeparator(bare.programFolder + u"AppData"));
  // Portable: the backups travel with the program.
  const AppFolders portable = MakeAppFolders(u"/prog", u"/docs/", u"/roaming", true);
  EXPECT_EQ(portable.backupFolder, WithTrailingSeparator(portable.programFolder + u"Backup"));
}

TEST(AppFolders, CreatesTheFoldersThatMustExist) {
  test::TempFolder temp;
  const AppFolders f = MakeAppFolders(temp.U("prog"), temp.U("docs"), temp.U("roam/deep"), false);
  CreateAppFolders(f);
  for (const std::u16string* folder :
       {&f.helpFolder, &f.languagesFolder, &f.schemesFolder, &f.userDataFolder, &f.backupFolder})
    EXPECT_TRUE(platform::DirectoryExists(*folder)) << ToUtf8(*folder);
  EXPECT_FALSE(platform::DirectoryExists(f.dataFolder));  // the documents folder is the system's
}

TEST(ClockStyle, DesignatorLettersMeanATwelveHourClock) {
  EXPECT_TRUE(IsTwentyFourHourTime(u"17:05:09"));
  EXPECT_TRUE(IsTwentyFourHourTime(u"17.05 Uhr"));  // no a/p/A/P in it
  EXPECT_FALSE(IsTwentyFourHourTime(u"5:05:09 PM"));
  EXPECT_FALSE(IsTwentyFourHourTime(u"5:05:09 am"));
  EXPECT_FALSE(IsTwentyFourHourTime(u"5:05 p"));
  // Natively the system is en-US, whose long time format has "AM/PM".
#ifndef _WIN32
  EXPECT_FALSE(Use24HourClock());
#endif
}

class TCountingChecks final : public IUpdateChecks {
public:
  std::vector<bool> started;
  int cancels = 0;
  void Start(bool manual) override { started.push_back(manual); }
  void CancelAll() override { ++cancels; }
};

TEST_F(LoaderTest, UpdateCheckFollowsTheFourteenDayRuleAndAlwaysMovesTheDate) {
  FixedClock clock(EncodeDateTime(2026, 3, 1, 10, 0, 0, 0));
  TCountingChecks checks;
  {
    auto loader = Make();
    loader->SetUpdateChecks(&checks);
    TGeneralSettings& general = loader->ConfStore().GeneralSettings;
    ASSERT_EQ(general.CheckDate, 0);
    loader->CheckForUpdates(false);  // first run: at once
    EXPECT_EQ(checks.started, std::vector<bool>{false});
    EXPECT_EQ(general.CheckDate, clock.Get());

    clock.Advance(10);
    loader->CheckForUpdates(false);  // within 14 days; the date still moves
    clock.Advance(10);
    loader->CheckForUpdates(false);
    EXPECT_EQ(checks.started.size(), 1u);
    EXPECT_EQ(general.CheckDate, clock.Get());

    loader->CheckForUpdates(true);  // the menu command always asks
    EXPECT_EQ(checks.started, (std::vector<bool>{false, true}));

    general.CheckUpdates = false;
    clock.Advance(100);
    loader->CheckForUpdates(false);
    EXPECT_EQ(checks.started.size(), 2u);
    EXPECT_EQ(general.CheckDate, clock.Get());
  }
  EXPECT_EQ(checks.cancels, 1);  // exit cancels what still runs
}

TEST_F(LoaderTest, ExitWaitsForAHangingCheckOnlyBriefly) {
  auto loader = Make();
  loader->ChangeWorkerCount(1);  // a check that never ends
  const auto start = std::chrono::steady_clock::now();
  loader.reset();
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(1500));
  EXPECT_LT(waited, std::chrono::seconds(5));
}

}  // namespace
}  // namespace vellumio
