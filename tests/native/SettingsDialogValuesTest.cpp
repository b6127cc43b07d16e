// The settings dialog's values against the real store: what the controls
// get, what OK writes back, and which controls depend on which boxes.
#include "config/SettingsDialogValues.h"

#include <gtest/gtest.h>

#include <memory>

#include "config/ConfStore.h"
#include "config/PortableIni.h"
#include "tests/native/ConfStoreTestSupport.h"

namespace vellumio {
namespace {

class SettingsDialogValues : public ::testing::Test {
protected:
  test::TScopedFolders folders;
  test::TFakeStartupLink link;

  std::unique_ptr<TConfStore> Open() {
    TConfStoreServices services;
    services.startupLink = &link;
    services.openRegistry = [this](const std::u16string&) {
      return std::make_unique<TPortableIni>(folders.Temp().U("registry.ini"));
    };
    return std::make_unique<TConfStore>(std::move(services));
  }
};

TEST_F(SettingsDialogValues, StoreToControlsAndBack) {
  auto store = Open();
  TIndicatorSettings& i = store->IndicatorSettings;
  i.FontSize = 7;  // no item of the list: shows Medium
  i.GroupMode = 3, i.NoDockLine = true, i.DockLineCol = 0x00FF8040, i.DockLineTransp = 77;
  i.UseDockLineTransp = false, i.ShowReturns = true, i.SingleClickCreate = true;
  store->GeneralSettings.HotKeys.Enabled = false;
  store->GeneralSettings.AdvPrint = false;
  store->DatabaseSettings.SetDatabaseFile(u"D:\\notes\\mine.sbn");

  TSettingsDialogValues v = ReadDialogValues(*store);
  EXPECT_EQ(v.fontSize, 2);
  EXPECT_EQ(v.groupMode, 3);
  EXPECT_FALSE(v.useDockLine);
  EXPECT_EQ(v.dockLineCol, 0x00FF8040u);
  EXPECT_EQ(v.dockLineTransp, 77);
  EXPECT_FALSE(v.useDockLineTransp);
  EXPECT_TRUE(v.showReturns && v.singleClickCreate && v.showSubject && v.hideOnLeave);
  EXPECT_FALSE(v.useHotKeys || v.advPrint);
  EXPECT_EQ(v.databaseFile, u"D:\\notes\\mine.sbn");

  // OK without a change stores the Medium that was shown.
  WriteDialogValues(v, *store);
  EXPECT_EQ(i.FontSize, 2);

  v.useDockLine = true, v.runAtStartup = true, v.trayIcon = false, v.checkUpdates = false;
  v.hideOnLeave = false, v.showSubject = false, v.fontSize = 5, v.groupMode = 1;
  v.databaseFile = u"E:\\x.dat";  // through SetDatabaseFile
  WriteDialogValues(v, *store);
  EXPECT_FALSE(i.NoDockLine);
  EXPECT_TRUE(store->GeneralSettings.RunAtStartup);
  EXPECT_FALSE(store->GeneralSettings.TrayIcon || store->GeneralSettings.CheckUpdates);
  EXPECT_FALSE(i.HideOnLeave || i.ShowSubject);
  EXPECT_EQ(store->DatabaseSettings.DatabaseFile(), u"E:\\x.dat.sbn");
  v.databaseFile = u"E:\\x.dat.sbn";
  EXPECT_EQ(ReadDialogValues(*store), v);
}

TEST(SettingsDialogRules, EnablingFollowsTheBoxes) {
  struct Case {
    bool c5, c21, c11, portable;
    TSettingsEnabling expected;  // dock options, b21, e11, database choice, linfo
  } cases[] = {
      {true, true, true, false, {true, true, true, true, false}},
      {false, true, true, false, {false, true, false, true, false}},  // c5 off: e11 too
      {true, false, false, false, {true, false, false, true, false}},
      {true, true, true, true, {true, true, true, false, true}},  // portable: file fixed
      {false, false, false, true, {false, false, false, false, true}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SettingsEnabling(c.c5, c.c21, c.c11, c.portable), c.expected)
        << c.c5 << c.c21 << c.c11 << c.portable;
}

TEST(SettingsDialogRules, LanguageLabel) {
  EXPECT_EQ(LanguageLabel(u"Language"), u"Language:");
  EXPECT_EQ(LanguageLabel(u"Sprache"), u"Sprache (language):");
  EXPECT_EQ(LanguageLabel(u"language"), u"language (language):");
  EXPECT_EQ(LanguageLabel(u"\u042F\u0437\u044B\u043A"), u"\u042F\u0437\u044B\u043A (language):");
}

TEST(SettingsDialogRules, HotKeyControlWords) {
  struct Case {
    uint16_t shortcut, word;
  } cases[] = {
      {0x604E, 0x034E},  // Ctrl+Shift+N
      {0x8051, 0x0451},  // Alt+Q
      {0xE070, 0x0770},  // Ctrl+Alt+Shift+F1
      {0x0000, 0x0000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortcutToHotKeyWord(c.shortcut), c.word);
    EXPECT_EQ(HotKeyWordToShortcut(c.word), c.shortcut);
  }
  EXPECT_EQ(HotKeyWordToShortcut(0x0A2E), 0x402E);  // the extended-key flag is dropped
  EXPECT_EQ(HotKeyWordToShortcut(0x0600), 0);       // modifiers without a key

  struct Typed {
    uint16_t word, accepted;
  } typed[] = {
      {0x0051, 0x0451},  // Q alone: Alt+Q
      {0x0151, 0x0551},  // Shift+Q: Alt+Shift+Q
      {0x0251, 0x0251},  // Ctrl+Q stays
      {0x0351, 0x0351},  // Ctrl+Shift+Q stays
      {0x0870, 0x0C70},  // an extended key alone gets Alt too
      {0x0200, 0x0200},  // Ctrl, no key yet
      {0x0000, 0x0000},
  };
  for (const Typed& t : typed) EXPECT_EQ(AcceptedHotKeyWord(t.word), t.accepted) << t.word;
}

}  // namespace
}  // namespace vellumio
