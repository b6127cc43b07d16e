#include "config/ConfStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/IniFile.h"
#include "base/Utf8.h"
#include "config/PortableIni.h"
#include "store/NoteListCollection.h"
#include "tests/native/ConfStoreTestSupport.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

using test::TFakeIndicatorWindow;
using test::TFakeStartupLink;

// Normal mode runs against a settings file standing in for the registry
// (the real registry is tested under Wine); portable mode against the
// real "Vellumio.ini" in the program folder.
class ConfStore : public ::testing::Test {
protected:
  test::TScopedFolders folders;
  TFakeIndicatorWindow window;
  TFakeStartupLink link;
  std::u16string registryFile = folders.Temp().U("registry.ini");
  std::u16string openedLocation;

  std::unique_ptr<TConfStore> Open() {
    TConfStoreServices services;
    services.window = &window;
    services.startupLink = &link;
    services.openRegistry = [this](const std::u16string& location) {
      openedLocation = location;
      return std::make_unique<TPortableIni>(registryFile);
    };
    return std::make_unique<TConfStore>(std::move(services));
  }

  TIniFile Stored(const std::u16string& file) const {
    TIniFile ini;
    ini.LoadFromFile(file);
    return ini;
  }
  TIniFile Registry() const { return Stored(registryFile); }
  std::u16string PortableFile() const { return folders.Program() + u"Vellumio.ini"; }
  void WriteRegistry(const std::string& text) { test::WriteText(registryFile, text); }
  void MakePortable(const std::string& text = "") { test::WriteText(PortableFile(), text); }
};

void ChangeEveryValue(TConfStore& s) {
  TIndicatorSettings& i = s.IndicatorSettings;
  i.ShowNewListTab = false, i.DockLineCol = 0x00FF8040, i.WinState = 1, i.NoDockLine = true;
  i.HideOnLeave = false, i.FontSize = 4, i.SingleClickCreate = true, i.ShowSubject = false;
  i.ShowReturns = true, i.DockLineTransp = 77, i.UseDockLineTransp = false, i.GroupMode = 3;
  TGeneralSettings& g = s.GeneralSettings;
  g.TrayIcon = false, g.AdvPrint = false, g.CheckUpdates = false, g.CheckDate = 45123;
  g.HotKeys.HideKey = 0x8041, g.HotKeys.GeneralKey = 0x2042, g.HotKeys.ReminderKey = 0;
  g.HotKeys.QuoteKey = 0xC051, g.HotKeys.Enabled = false;
  s.DatabaseSettings.SetDatabaseFile(u"D:\\Notes\\work.sbn");
  s.LangModuleValues.CurrentLanguage = u"german.lng";
  s.LangModuleValues.IsLangModified = false;
  s.SchModuleValues.CurrentScheme = u"night sky.sch";
  s.WebAccountSettings.UseWebSync = true, s.WebAccountSettings.Login = u"ann";
  s.WebAccountSettings.Password = u" p=\"w\u00e4\" ", s.WebAccountSettings.SyncInterval = 30;
  s.ReminderSettings.DefaultReminder.SetKind(TReminderTask::kEvery);
  s.ReminderSettings.DefaultReminder.SetInterval(3);
  s.ReminderSettings.DefaultReminder.SetSoundFile("C:\\ding.wav");
}

void ExpectEveryValueChanged(const TConfStore& s) {
  const TIndicatorSettings& i = s.IndicatorSettings;
  EXPECT_FALSE(i.ShowNewListTab);
  EXPECT_EQ(i.DockLineCol, 0x00FF8040u);
  EXPECT_EQ(i.WinState, 1);
  EXPECT_TRUE(i.NoDockLine);
  EXPECT_FALSE(i.HideOnLeave);
  EXPECT_EQ(i.FontSize, 4);
  EXPECT_TRUE(i.SingleClickCreate);
  EXPECT_FALSE(i.ShowSubject);
  EXPECT_TRUE(i.ShowReturns);
  EXPECT_EQ(i.DockLineTransp, 77);
  EXPECT_FALSE(i.UseDockLineTransp);
  EXPECT_EQ(i.GroupMode, 3);
  const TGeneralSettings& g = s.GeneralSettings;
  EXPECT_FALSE(g.TrayIcon);
  EXPECT_FALSE(g.AdvPrint);
  EXPECT_FALSE(g.CheckUpdates);
  EXPECT_EQ(g.CheckDate, 45123);
  EXPECT_EQ(g.HotKeys.HideKey, 0x8041);
  EXPECT_EQ(g.HotKeys.GeneralKey, 0x2042);
  EXPECT_EQ(g.HotKeys.ReminderKey, 0);
  EXPECT_EQ(g.HotKeys.QuoteKey, 0xC051);
  EXPECT_FALSE(g.HotKeys.Enabled);
  EXPECT_EQ(s.LangModuleValues.CurrentLanguage, u"german.lng");
  EXPECT_FALSE(s.LangModuleValues.IsLangModified);
  EXPECT_EQ(s.SchModuleValues.CurrentScheme, u"night sky.sch");
  EXPECT_TRUE(s.WebAccountSettings.UseWebSync);
  EXPECT_EQ(s.WebAccountSettings.Login, u"ann");
  EXPECT_EQ(s.WebAccountSettings.Password, u" p=\"w\u00e4\" ");
  EXPECT_EQ(s.WebAccountSettings.SyncInterval, 30);
  EXPECT_EQ(s.ReminderSettings.DefaultReminder.GetKind(), TReminderTask::kEvery);
  EXPECT_EQ(s.ReminderSettings.DefaultReminder.Interval(), 3);
  EXPECT_EQ(s.ReminderSettings.DefaultReminder.SoundFile(), "C:\\ding.wav");
}

TEST_F(ConfStore, FirstRunGivesEveryDefault) {
  // Fields that start out changed show that loading, not construction,
  // supplies the defaults.
  window.bounds = {5, 5, 320, 640};
  auto store = Open();
  EXPECT_FALSE(store->Portable);
  EXPECT_EQ(store->IniClass, TConfStore::TIniClass::kRegistry);
  EXPECT_EQ(store->Location, u"\\Software\\Vellumio");
  EXPECT_EQ(openedLocation, u"\\Software\\Vellumio");

  const TIndicatorSettings& i = store->IndicatorSettings;
  EXPECT_EQ(i.LeftPos(), 1280 - 320 - 3);
  EXPECT_EQ(i.TopPos(), 100);
  EXPECT_EQ(i.Width(), 320);
  EXPECT_EQ(i.Height(), 640);
  EXPECT_EQ(i.FontSize, 2);
  EXPECT_EQ(i.NoteFontPointSize(), 10);
  EXPECT_TRUE(i.ShowNewListTab);
  EXPECT_EQ(i.DockLineCol, 255u);
  EXPECT_EQ(i.DockLineTransp, 50);
  EXPECT_TRUE(i.UseDockLineTransp);
  EXPECT_FALSE(i.SingleClickCreate);
  EXPECT_EQ(i.GroupMode, 0);
  EXPECT_EQ(i.WinState, 0);
  EXPECT_FALSE(i.NoDockLine);
  EXPECT_TRUE(i.HideOnLeave);
  EXPECT_TRUE(i.ShowSubject);
  EXPECT_FALSE(i.ShowReturns);

  const TGeneralSettings& g = store->GeneralSettings;
  EXPECT_TRUE(g.TrayIcon);
  EXPECT_TRUE(g.AdvPrint);
  EXPECT_TRUE(g.CheckUpdates);
  EXPECT_EQ(g.CheckDate, 0);
  EXPECT_FALSE(g.RunAtStartup);
  EXPECT_EQ(g.HotKeys.HideKey, 24653);
  EXPECT_EQ(g.HotKeys.GeneralKey, 24654);
  EXPECT_EQ(g.HotKeys.ReminderKey, 24650);
  EXPECT_EQ(g.HotKeys.QuoteKey, 24657);
  EXPECT_TRUE(g.HotKeys.Enabled);

  EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), folders.Documents() + u"notes.sbn");
  EXPECT_TRUE(store->DatabaseSettings.IsDefaultLocation());
  EXPECT_EQ(store->LangModuleValues.CurrentLanguage, u"english.lng");
  EXPECT_TRUE(store->LangModuleValues.IsLangModified);
  EXPECT_EQ(store->SchModuleValues.CurrentScheme, u"vellumio.sch");
  EXPECT_FALSE(store->WebAccountSettings.UseWebSync);
  EXPECT_EQ(store->WebAccountSettings.Login, u"");
  EXPECT_EQ(store->WebAccountSettings.Password, u"");
  EXPECT_EQ(store->WebAccountSettings.SyncInterval, 5);
  EXPECT_FALSE(store->ReminderSettings.DefaultReminder.Active());
}

TEST_F(ConfStore, EverySettingRoundTripsInBothModes) {
  for (bool portable : {false, true}) {
    SCOPED_TRACE(portable ? "portable" : "registry");
    if (portable) MakePortable();
    {
      auto store = Open();
      ASSERT_EQ(store->Portable, portable);
      ChangeEveryValue(*store);
      window.bounds = {11, 22, 333, 444};
    }  // saved here
    window.bounds = {0, 0, 300, 600};
    auto again = Open();
    ExpectEveryValueChanged(*again);
    EXPECT_EQ(window.bounds.left, 11);
    EXPECT_EQ(window.bounds.top, 22);
    EXPECT_EQ(window.bounds.width, 333);
    EXPECT_EQ(window.bounds.height, 444);
    const std::u16string expectedDatabase =
        portable ? folders.Program() + u"notes.sbn" : u"D:\\Notes\\work.sbn";
    EXPECT_EQ(again->DatabaseSettings.DatabaseFile(), expectedDatabase);
  }
}

// Both back-ends share one layout: these are the forms a user or an older
// version finds in the file.
TEST_F(ConfStore, StoredFormsOfTheValues) {
  MakePortable();
  {
    auto store = Open();
    ChangeEveryValue(*store);
    store->GeneralSettings.CheckDate = 45123.99;  // only the day is kept
    window.bounds = {-7, 22, 333, 444};
  }
  const TIniFile ini = Stored(PortableFile());
  const struct {
    const char16_t* section;
    const char16_t* name;
    const char16_t* text;
  } cases[] = {
      {u"Settings\\Indicator", u"res1280x1024_LeftPos", u"-7"},
      {u"Settings\\Indicator", u"res1280x1024_Height", u"444"},
      {u"Settings\\Indicator", u"ShowNewListTab", u"0"},
      {u"Settings\\Indicator", u"ShowReturns", u"1"},
      {u"Settings\\Indicator", u"DockLineCol", u"16744512"},
      {u"Settings\\General", u"CheckDate", u"45123"},
      {u"Settings\\General\\HotKeys", u"QuoteKey", u"49233"},
      {u"Settings\\General\\HotKeys", u"Enabled", u"0"},
      {u"Settings\\Database", u"DatabaseFile", u"D:\\Notes\\work.sbn"},
      {u"LangModule", u"CurrentLanguage", u"german.lng"},
      {u"ColorScheme", u"CurrentScheme", u"night sky.sch"},
      {u"Settings\\WebAccount", u"Password", u" p=\"w\u00e4\" "},
      {u"Settings\\WebAccount", u"SyncInterval", u"30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.name));
    EXPECT_EQ(ini.ReadString(c.section, c.name, u"(missing)"), c.text);
  }
  // The older size setting is only ever read.
  EXPECT_FALSE(ini.ValueExists(u"Settings\\Indicator", u"LargeFonts"));
  EXPECT_EQ(ini.ReadString(u"Settings\\DefaultReminder", u"DefReminder", u"").substr(0, 6),
            u"AgAAAA");  // version 2, little-endian
}

TEST_F(ConfStore, FontSizeFallsBackToLargeFonts) {
  const struct {
    const char* lines;
    int32_t fontSize;
  } cases[] = {
      {"", 2},
      {"LargeFonts=0", 0},
      {"LargeFonts=1", 2},
      {"LargeFonts=7", 2},
      {"FontSize=-1\r\nLargeFonts=0", 0},
      {"FontSize=3\r\nLargeFonts=0", 3},
      {"FontSize=0\r\nLargeFonts=1", 0},
      {"FontSize=big\r\nLargeFonts=0", 0},  // text that does not parse is absent
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    WriteRegistry(std::string("[Settings\\Indicator]\r\n") + c.lines + "\r\n");
    auto store = Open();
    EXPECT_EQ(store->IndicatorSettings.FontSize, c.fontSize);
  }
}

TEST_F(ConfStore, UnparsableIntegersTakeTheirDefaults) {
  WriteRegistry(
      "[Settings\\Indicator]\r\nDockLineTransp=half\r\nGroupMode=2x\r\nDockLineCol=\r\n"
      "ShowSubject=no\r\n[Settings\\WebAccount]\r\nSyncInterval=99999999999\r\n");
  auto store = Open();
  EXPECT_EQ(store->IndicatorSettings.DockLineTransp, 50);
  EXPECT_EQ(store->IndicatorSettings.GroupMode, 0);
  EXPECT_EQ(store->IndicatorSettings.DockLineCol, 255u);
  EXPECT_TRUE(store->IndicatorSettings.ShowSubject);
  EXPECT_EQ(store->WebAccountSettings.SyncInterval, 5);
}

TEST(ConfStoreFont, PointSizes) {
  const int32_t expected[] = {9, 9, 10, 12, 14, 16};
  TIndicatorSettings settings;
  for (int32_t size = 0; size <= 5; ++size) {
    settings.FontSize = size;
    EXPECT_EQ(settings.NoteFontPointSize(), expected[size]) << "FontSize " << size;
  }
}

TEST_F(ConfStore, EachResolutionKeepsItsOwnPosition) {
  {
    auto store = Open();
    window.bounds = {10, 20, 400, 500};
  }
  window.monitor = {0, 0, 1920, 1080};
  auto store = Open();
  // Never seen: the default place, with the window's present size.
  EXPECT_EQ(window.bounds.left, 1920 - 400 - 3);
  EXPECT_EQ(window.bounds.top, 100);
  window.bounds = {1000, 50, 410, 510};
  store->SavePosition();

  window.monitor = {0, 0, 1280, 1024};
  store->LoadPosition();
  EXPECT_EQ(window.bounds.left, 10);
  EXPECT_EQ(window.bounds.top, 20);
  EXPECT_EQ(window.bounds.width, 400);
  EXPECT_EQ(window.bounds.height, 500);

  window.monitor = {0, 0, 1920, 1080};
  store->LoadPosition();
  EXPECT_EQ(window.bounds.left, 1000);
  EXPECT_EQ(window.bounds.width, 410);
  EXPECT_TRUE(Registry().ValueExists(u"Settings\\Indicator", u"res1920x1080_TopPos"));
}

TEST_F(ConfStore, DefaultPlaceFollowsTheMonitorOrigin) {
  window.monitor = {-1024, 200, 1024, 768};
  window.bounds = {0, 0, 250, 400};
  auto store = Open();
  EXPECT_EQ(window.bounds.left, -1024 + 1024 - 250 - 3);
  EXPECT_EQ(window.bounds.top, 300);
}

TEST_F(ConfStore, VisibleWindowIsHiddenWhileItMoves) {
  auto store = Open();
  window.visible = true;
  window.calls.clear();
  store->LoadPosition();
  const std::vector<std::string> moved = {"hide", "left", "top", "width", "height", "show"};
  EXPECT_EQ(window.calls, moved);
  EXPECT_TRUE(window.visible);

  window.visible = false;
  window.calls.clear();
  store->LoadPosition();
  const std::vector<std::string> quiet = {"left", "top", "width", "height"};
  EXPECT_EQ(window.calls, quiet);
  EXPECT_FALSE(window.visible);
}

TEST_F(ConfStore, WindowAttachedLaterIsPlaced) {
  TConfStoreServices services;
  services.startupLink = &link;
  services.openRegistry = [this](const std::u16string&) {
    return std::make_unique<TPortableIni>(registryFile);
  };
  WriteRegistry("[Settings\\Indicator]\r\nres1280x1024_LeftPos=42\r\nres1280x1024_TopPos=43\r\n");
  TConfStore store(std::move(services));
  EXPECT_EQ(store.IndicatorSettings.LeftPos(), 0);  // no window yet
  store.AttachIndicatorWindow(&window);
  EXPECT_EQ(window.bounds.left, 42);
  EXPECT_EQ(window.bounds.top, 43);
}

TEST_F(ConfStore, PortableModeStartsWithDefaultsAndItsOwnDatabase) {
  {
    auto store = Open();
    store->IndicatorSettings.FontSize = 5;
    store->DatabaseSettings.SetDatabaseFile(u"elsewhere.sbn");
  }
  MakePortable();
  auto store = Open();
  EXPECT_TRUE(store->Portable);
  EXPECT_EQ(store->IniClass, TConfStore::TIniClass::kPortable);
  EXPECT_EQ(store->Location, PortableFile());
  EXPECT_EQ(store->IndicatorSettings.FontSize, 2);
  EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), folders.Program() + u"notes.sbn");
  EXPECT_TRUE(store->DatabaseSettings.IsDefaultLocation());
  // A stored path does not matter either.
  store.reset();
  MakePortable("[Settings\\Database]\r\nDatabaseFile=C:\\other\\x.sbn\r\n");
  store = Open();
  EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), folders.Program() + u"notes.sbn");
  // The registry stand-in was not touched in portable mode.
  EXPECT_EQ(Registry().ReadString(u"Settings\\Indicator", u"FontSize", u""), u"5");
}

TEST_F(ConfStore, PositionOperationsDoNothingInPortableMode) {
  MakePortable("[Settings\\Indicator]\r\nres1280x1024_LeftPos=42\r\n");
  auto store = Open();
  EXPECT_EQ(window.bounds.left, 42);  // the first placement reads the file
  window.bounds.left = 7;
  store->SavePosition();
  EXPECT_EQ(Stored(PortableFile()).ReadString(u"Settings\\Indicator", u"res1280x1024_LeftPos", u""),
            u"42");
  store->LoadPosition();
  EXPECT_EQ(window.bounds.left, 7);
}

TEST_F(ConfStore, ReadOnlySettingsFileFailsTheSave) {
  MakePortable();
  auto store = Open();
  // A folder where the file should be cannot be replaced by a file.
  std::filesystem::remove(folders.Temp().Path("program/Vellumio.ini"));
  std::filesystem::create_directory(folders.Temp().Path("program/Vellumio.ini"));
  EXPECT_THROW(store->Save(), ESettingsError);
}

TEST_F(ConfStore, RunAtStartupFollowsTheLink) {
  link.exists = true;
  {
    auto store = Open();
    EXPECT_TRUE(store->GeneralSettings.RunAtStartup);
    store->Save();
    EXPECT_EQ(link.creates + link.removes, 0);  // unchanged: not touched
    store->GeneralSettings.RunAtStartup = false;
  }
  EXPECT_FALSE(link.exists);
  EXPECT_EQ(link.removes, 1);
  {
    auto store = Open();
    EXPECT_FALSE(store->GeneralSettings.RunAtStartup);
    store->GeneralSettings.RunAtStartup = true;
  }
  EXPECT_TRUE(link.exists);
  EXPECT_EQ(link.creates, 1);
  // Nowhere to put a link: never on, never attempted.
  link = TFakeStartupLink{};
  link.supported = false;
  auto store = Open();
  store->GeneralSettings.RunAtStartup = true;
  EXPECT_NO_THROW(store->Save());
  EXPECT_EQ(link.creates, 0);
}

TEST_F(ConfStore, CheckDateKeepsWholeDays) {
  {
    auto store = Open();
    store->GeneralSettings.CheckDate = EncodeDateTime(2025, 6, 30, 23, 59, 59);
  }
  auto store = Open();
  EXPECT_EQ(store->GeneralSettings.CheckDate, EncodeDate(2025, 6, 30));
  EXPECT_EQ(Registry().ReadString(u"Settings\\General", u"CheckDate", u""), u"45838");
}

TEST_F(ConfStore, DatabaseFileNames) {
  const struct {
    const char16_t* given;
    const char16_t* stored;
  } cases[] = {
      {u"C:\\a\\notes.sbn", u"C:\\a\\notes.sbn"},
      {u"C:\\a\\notes.SBN", u"C:\\a\\notes.SBN"},
      {u"C:\\a\\notes.Sbn", u"C:\\a\\notes.Sbn"},
      {u"C:\\a\\notes.dat", u"C:\\a\\notes.dat.sbn"},
      {u"C:\\a\\notes", u"C:\\a\\notes.sbn"},
      {u"C:\\a\\notes.sbn.bak", u"C:\\a\\notes.sbn.bak.sbn"},
      {u"C:\\a.sbn\\notes", u"C:\\a.sbn\\notes.sbn"},
      {u"C:\\a\\.sbn", u"C:\\a\\.sbn"},
      {u"C:\\a\\notes.sbnx", u"C:\\a\\notes.sbnx.sbn"},
  };
  auto store = Open();
  for (const auto& c : cases) {
    store->DatabaseSettings.SetDatabaseFile(c.given);
    EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), c.stored);
  }
  // Loading goes through the same rule.
  store.reset();
  WriteRegistry("[Settings\\Database]\r\nDatabaseFile=C:\\data\\old.dat\r\n");
  store = Open();
  EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), u"C:\\data\\old.dat.sbn");
  EXPECT_FALSE(store->DatabaseSettings.IsDefaultLocation());
}

TEST_F(ConfStore, DefaultLocationIsExact) {
  auto store = Open();
  TDatabaseSettings& d = store->DatabaseSettings;
  d.SetDatabaseFile(folders.Documents() + u"notes.sbn");
  EXPECT_TRUE(d.IsDefaultLocation());
  d.SetDatabaseFile(folders.Documents() + u"Notes.sbn");
  EXPECT_FALSE(d.IsDefaultLocation());
  d.SetDatabaseFile(folders.Documents() + u"other.sbn");
  EXPECT_FALSE(d.IsDefaultLocation());
  TDatabaseSettings portable(folders.Documents(), true);
  portable.SetDatabaseFile(u"anywhere.sbn");
  EXPECT_TRUE(portable.IsDefaultLocation());
}

TEST_F(ConfStore, EnsureDatabaseCreatesOnlyTheDefaultOne) {
  auto store = Open();
  TDatabaseSettings& d = store->DatabaseSettings;
  const std::u16string elsewhere = folders.Temp().U("elsewhere.sbn");
  d.SetDatabaseFile(elsewhere);
  EXPECT_FALSE(d.EnsureDatabase());
  EXPECT_FALSE(platform::FileExists(elsewhere));

  d.SetDatabaseFile(folders.Documents() + u"notes.sbn");
  EXPECT_TRUE(d.EnsureDatabase());
  ASSERT_TRUE(platform::FileExists(d.DatabaseFile()));
  TNoteListCollection created(true);
  EXPECT_NO_THROW(created.LoadFromFile(d.DatabaseFile()));
  EXPECT_FALSE(d.EnsureDatabase());  // there now
}

TEST_F(ConfStore, DatabaseFolderIsAbsolute) {
  auto store = Open();
  TDatabaseSettings& d = store->DatabaseSettings;
  d.SetDatabaseFile(folders.Temp().U("sub/notes.sbn"));
  EXPECT_EQ(std::filesystem::path(d.DatabaseFolder()), folders.Temp().Path("sub"));
  d.SetDatabaseFile(u"notes.sbn");
  EXPECT_EQ(std::filesystem::path(d.DatabaseFolder()), std::filesystem::current_path());
}

}  // namespace
}  // namespace vellumio
