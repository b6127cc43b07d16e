// The settings dialog, the hot-key dialog, the restore dialog and the
// language editor as real windows under Wine: controls at their places,
// what OK and Cancel write (to the registry, or to "Vellumio.ini" in
// portable mode), the hot-key fields' rules, a restore from a folder tree,
// and a translation written into a Windows-1251 file.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "config/DBRestoreDialog_win.h"
#include "config/HotKeysDialog_win.h"
#include "config/MoveDatabase.h"
#include "config/SettingsDialog_win.h"
#include "lang/LangEditor_win.h"
#include "platform/Platform.h"
#include "store/NoteItem.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"
#include "tests/support/RecordWriter.h"
#include "tests/win/UiTestSupport.h"

namespace vellumio {
namespace {

namespace fs = std::filesystem;
using ui::TForm;

constexpr wchar_t kKey[] = L"Software\\VellumioSettingsDialogTest";

const char kEnglish[] =
    "[global]\r\nbOk=OK\r\nbCancel=Cancel\r\n"
    "[FSETTINGS]\r\nlCaption=Settings\r\ntGeneral=General\r\nlLanguage=Language\r\n"
    "iMedium=Medium\r\n[FHOTKEYS]\r\nlCaption=Hot Keys\r\n";
const char kGerman[] = "[FSETTINGS]\r\nlLanguage=Sprache\r\n";

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

std::u16string WindowTextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return std::u16string(text.begin(), text.end());
}

std::wstring RegistryText(const std::wstring& section, const std::wstring& name) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof buffer;
  const std::wstring path = std::wstring(kKey) + L"\\" + section;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                   &size) != ERROR_SUCCESS)
    return L"(missing)";
  return buffer;
}

// A view that records the schemes it is told to show.
class TRecordingView final : public INoteView {
public:
  explicit TRecordingView(std::vector<std::string>& log) : log_(log) {}
  void NotesChanged() override {}
  void CommitEdit() override {}
  void SelectNote(TNoteItem&) override {}
  void SchemeChanged(const std::string& file) override { log_.push_back(file); }

private:
  std::vector<std::string>& log_;
};

class TRecordingFactory final : public INoteViewFactory {
public:
  std::vector<std::string> schemes;
  std::unique_ptr<INoteView> CreateView(TNotesList&) override {
    return std::make_unique<TRecordingView>(schemes);
  }
};

// Acts on the visible form once `ready` holds, from a thread timer that
// the form's own loop runs, without ever waiting inside a message: the
// restore dialog handles messages while it loads a file, and a wait there
// would hold the load up. A form not ready within 30 seconds is ended
// with 99.
class TWhenReady {
public:
  TWhenReady(std::function<bool()> ready, std::function<void(TForm&)> act)
      : ready_(std::move(ready)), act_(std::move(act)) {
    all_.push_back(this);
    timer_ = SetTimer(nullptr, 0, 50, &TWhenReady::Tick);
  }
  ~TWhenReady() {
    KillTimer(nullptr, timer_);
    std::erase(all_, this);
  }
  TWhenReady(const TWhenReady&) = delete;
  TWhenReady& operator=(const TWhenReady&) = delete;

private:
  // Every instance's timer looks at every instance, in the order made.
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    const std::vector<TForm*> forms = test::VisibleForms();
    if (forms.empty()) return;
    for (TWhenReady* self : std::vector<TWhenReady*>(all_)) {
      if (self->acted_) continue;
      if (!self->ready_()) {
        if (++self->ticks_ > 600) forms.front()->EndModal(99);
        return;
      }
      self->acted_ = true;
      self->act_(*forms.front());
      return;
    }
  }

  static inline std::vector<TWhenReady*> all_;
  std::function<bool()> ready_;
  std::function<void(TForm&)> act_;
  UINT_PTR timer_ = 0;
  int ticks_ = 0;
  bool acted_ = false;
};

class SettingsDialogsWin : public test::TUiFixture {
protected:
  SettingsDialogsWin() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    WriteLanguage("english.lng", test::LanguageText("English", kEnglish));
    WriteLanguage("german.lng", test::LanguageText("Deutsch", kGerman));
    for (const char* scheme : {"vellumio.sch", "night.sch"})
      fs::copy_file(fs::path(VELLUMIO_TEST_SOURCE_DIR) / ".." / "Schemes" / scheme,
                    temp.Path(std::string("program/Schemes/") + scheme));
  }
  ~SettingsDialogsWin() override {
    loader.reset();
    SetNoteViewFactory(nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  }

  // The loader over the real registry (a key of the test's own), or over
  // "Vellumio.ini" when the program folder has one; one list with a view.
  void Start() {
    SetNoteViewFactory(&views);
    TLoaderServices services;
    services.confStore.startupLink = &link;
    services.confStore.registryKey = u"\\" + std::u16string(kKey, kKey + wcslen(kKey));
    loader = std::make_unique<TLoader>(std::move(services));
    loader->AttachWindow(&window);
    ui::SetFormTranslator(loader.get());
    loader->Database().InsertList(0);
    loader->Database().SetCurrentList(0);
  }

  // Runs the settings dialog, acting on it once it shows.
  bool RunSettings(int page, const std::function<void(TfSettings&)>& act) {
    TfSettings dialog;
    test::TFormAnswerer answerer([&](TForm&) { act(dialog); });
    return dialog.Execute(loader->ConfStore(), page, nullptr);
  }

  static void Pick(TForm& form, std::u16string_view name, int index) {
    ui::TFormControl& box = form.At(name);
    box.SetSelected(index);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(box.CommandId(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box.Handle()));
  }

  static bool Enabled(TForm& form, std::u16string_view name) {
    return IsWindowEnabled(form.At(name).Handle()) != FALSE;
  }

  TRecordingFactory views;
};

TEST_F(SettingsDialogsWin, ControlsPlacesStatesOkAndCancel) {
  Start();
  TConfStore& store = loader->ConfStore();
  store.IndicatorSettings.FontSize = 7;
  store.IndicatorSettings.UseDockLineTransp = false;

  // Cancel after a scheme preview: the scheme of before is shown again and
  // nothing is written back.
  std::u16string schemeAtOpen;
  EXPECT_FALSE(RunSettings(1, [&](TfSettings& d) {
    schemeAtOpen = d.SchemeAtOpen();
    EXPECT_EQ(d.Page(), 1);
    EXPECT_TRUE(d.At(u"scb").Visible());
    EXPECT_FALSE(d.At(u"c1").Visible());
    Pick(d, u"scb", d.At(u"scb").Selected() == 0 ? 1 : 0);
    Pick(d, u"c3", 5);
    test::Click(d, u"bCancel");
  }));
  ASSERT_GE(views.schemes.size(), 2u);
  EXPECT_NE(views.schemes[views.schemes.size() - 2], platform::ToAnsi(schemeAtOpen));
  EXPECT_EQ(views.schemes.back(), platform::ToAnsi(schemeAtOpen));
  EXPECT_EQ(store.IndicatorSettings.FontSize, 7);

  // The controls at their places (page coordinates plus the page's
  // origin), the enabled states, and OK.
  EXPECT_TRUE(RunSettings(0, [&](TfSettings& d) {
    const RECT tabs = test::ClientRectOf(d.Tabs());
    EXPECT_EQ(tabs.left, d.Scale(12));
    EXPECT_EQ(tabs.top, d.Scale(12));
    const POINT page{d.Scale(16), d.Scale(38)};
    const struct {
      const char16_t* name;
      int left, top;
    } places[] = {{u"c1", 16, 16},    {u"c2", 16, 44},    {u"c8", 16, 72},   {u"c21", 16, 100},
                  {u"b21", 304, 96},  {u"c25", 16, 256},  {u"scb", 140, 12}, {u"c3", 140, 40},
                  {u"c22", 140, 68},  {u"c7", 16, 100},   {u"c9", 16, 128},  {u"c10", 16, 156},
                  {u"c6", 16, 184},   {u"c5", 16, 212},   {u"c4", 208, 238}, {u"e11", 208, 268},
                  {u"e20", 140, 16},  {u"Button3", 360, 13}, {u"XPButton5", 140, 44},
                  {u"XPButton4", 311, 44}, {u"linfo", 140, 76}, {u"XPButton1", 8, 249},
                  {u"XPButton3", 304, 249}, {u"Button4", 348, 285}};
    for (const auto& p : places) {
      const RECT r = test::ClientRectOf(d.At(p.name).Handle());
      EXPECT_EQ(r.left, page.x + d.Scale(p.left)) << Narrow(p.name);
      EXPECT_EQ(r.top, page.y + d.Scale(p.top)) << Narrow(p.name);
    }
    EXPECT_EQ(d.At(u"l18").Text(), u"Language:");
    EXPECT_EQ(d.At(u"c3").Selected(), 2);  // the stored 7 shows as Medium
    EXPECT_FALSE(d.At(u"linfo").Visible());
    EXPECT_TRUE(Enabled(d, u"e20"));
    // c11 is off: the spin edit waits for it; c5 off disables the group.
    EXPECT_TRUE(Enabled(d, u"c11"));
    EXPECT_FALSE(Enabled(d, u"e11"));
    test::Click(d, u"c11");
    EXPECT_TRUE(Enabled(d, u"e11") && Enabled(d, u"l11"));
    test::Click(d, u"c5");
    for (const char16_t* name : {u"l4", u"c4", u"c11", u"e11", u"l11"})
      EXPECT_FALSE(Enabled(d, name)) << Narrow(name);
    test::Click(d, u"c5");
    EXPECT_TRUE(Enabled(d, u"e11"));
    test::Click(d, u"c21");
    EXPECT_FALSE(Enabled(d, u"b21"));
    test::Click(d, u"c21");
    SendMessageW(d.TransparencySpin(), UDM_SETPOS32, 0, 30);
    Pick(d, u"c22", 2);
    d.At(u"e20").SetText(u"C:\\notes\\other");
    test::Click(d, u"bOk");
  }));
  loader->SaveSettings();
  EXPECT_EQ(store.IndicatorSettings.FontSize, 2);
  EXPECT_TRUE(store.IndicatorSettings.UseDockLineTransp);
  EXPECT_EQ(store.IndicatorSettings.DockLineTransp, 30);
  EXPECT_EQ(store.IndicatorSettings.GroupMode, 2);
  EXPECT_EQ(RegistryText(L"Settings\\Indicator", L"UseDockLineTransp"), L"1");
  EXPECT_EQ(RegistryText(L"Settings\\Database", L"DatabaseFile"), L"C:\\notes\\other.sbn");
  DWORD fontSize = 0, size = sizeof fontSize;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kKey) + L"\\Settings\\Indicator").c_str(),
                         L"FontSize", RRF_RT_REG_DWORD, nullptr, &fontSize, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(fontSize, 2u);
}

TEST_F(SettingsDialogsWin, PortableModeWritesTheIniAndFixesTheFile) {
  test::WriteText(temp.Path("program/Vellumio.ini"), "");
  Start();
  loader->LangModule().SetCurrentLanguage(u"german.lng");
  loader->LoadLanguage(nullptr);
  EXPECT_TRUE(RunSettings(2, [&](TfSettings& d) {
    EXPECT_EQ(d.At(u"l18").Text(), u"Sprache (language):");
    EXPECT_TRUE(d.At(u"linfo").Visible());
    for (const char16_t* name : {u"Label1", u"e20", u"Button3", u"XPButton4", u"XPButton5"})
      EXPECT_FALSE(Enabled(d, name)) << Narrow(name);
    for (const char16_t* name : {u"Button4", u"XPButton1", u"XPButton3"})
      EXPECT_TRUE(Enabled(d, name)) << Narrow(name);
    test::Click(d, u"c9");  // a box of a hidden page keeps working
    test::Click(d, u"bOk");
  }));
  loader->SaveSettings();
  // The settings file is UTF-16 with a byte-order mark; its names and
  // numbers are ASCII.
  std::string ini;
  for (char c : test::ReadAll(temp.Path("program/Vellumio.ini")))
    if (c != '\0') ini.push_back(c);
  EXPECT_NE(ini.find("ShowSubject=0"), std::string::npos) << ini;
  EXPECT_NE(ini.find("FontSize=2"), std::string::npos) << ini;
  EXPECT_EQ(RegistryText(L"Settings\\Indicator", L"ShowSubject"), L"(missing)");
}

TEST_F(SettingsDialogsWin, HotKeyFieldsAddAltAndOkWritesAtOnce) {
  Start();
  TSWHotKeys& keys = loader->ConfStore().GeneralSettings.HotKeys;
  TfHotKeys dialog;
  uint16_t shown = 0;
  test::TFormAnswerer answerer([&](TForm& form) {
    shown = dialog.FieldKey(4);
    const RECT field = test::ClientRectOf(dialog.Field(1));
    EXPECT_EQ(field.left, form.Scale(184));
    EXPECT_EQ(field.right - field.left, form.Scale(170));
    // Q without a modifier, as the field receives it.
    SetFocus(dialog.Field(4));
    SendMessageW(dialog.Field(4), WM_KEYDOWN, 'Q', 0);
    SendMessageW(dialog.Field(4), WM_KEYUP, 'Q', 0xC0000000);
    test::Click(form, u"bOk");
  });
  EXPECT_TRUE(dialog.Execute(keys, nullptr));
  EXPECT_EQ(shown, 0x6051);            // Ctrl+Shift+Q was shown
  EXPECT_EQ(keys.QuoteKey, 0x8051);    // Q alone became Alt+Q
  EXPECT_EQ(keys.GeneralKey, 0x604E);  // the others unchanged
}

TEST_F(SettingsDialogsWin, RestoreFindsBackupsInATreeAndRestores) {
  const fs::path tree = temp.Path("disk");
  fs::create_directories(tree / "deep/er");
  testdata::DatabaseImage image;
  image.lists.push_back({});
  image.lists[0].name = "Found";
  image.lists[0].uid = 7001;
  image.lastUid = 7002;
  testdata::NoteImage note;
  note.uid = 7002;
  note.created = 45000;
  note.text = u"the lost state";
  image.lists[0].notes.push_back(note);
  const std::vector<uint8_t> bytes = testdata::WriteDatabase(image);
  test::WriteText(tree / "deep/er/notes.sbn.3", std::string(bytes.begin(), bytes.end()));
  test::WriteText(tree / "deep/plain.txt", "not a database");
  // An older copy with other notes elsewhere in the tree: a second row,
  // below the newer backup.
  image.lists[0].notes[0].text = u"an older copy";
  const std::vector<uint8_t> copy = testdata::WriteDatabase(image);
  fs::create_directories(tree / "copy");
  test::WriteText(tree / "copy/notes.sbn", std::string(copy.begin(), copy.end()));
  platform::SetFileModifiedTime((tree / "copy/notes.sbn").u16string(), platform::LocalNow() - 2);
  Start();
  loader->ConfStore().DatabaseSettings.SetDatabaseFile(temp.U("documents/notes.sbn"));

  TfDBRestore dialog(loader->ConfStore());
  dialog.DriveRoots = [&] { return std::vector<std::u16string>{tree.u16string()}; };
  int rows = -1;
  std::u16string preview, secondRow;
  TWhenReady whenDone(
      [&] {
        return dialog.SearchDone() && dialog.RowCount() == 2 && dialog.RowInfo(0) &&
               dialog.RowInfo(1);
      },
      [&](TForm& form) {
        rows = dialog.RowCount();
        secondRow = dialog.RowText(1, 1);
        EXPECT_FALSE(IsWindowEnabled(form.At(u"bRestore").Handle()));
        ListView_SetItemState(dialog.List(), 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_TRUE(IsWindowEnabled(form.At(u"bRestore").Handle()));
        preview = WindowTextOf(dialog.Preview());
        test::Click(form, u"bRestore");
      });
  EXPECT_TRUE(dialog.Execute(nullptr));
  EXPECT_EQ(rows, 2);
  EXPECT_TRUE(secondRow.ends_with(u"copy\\notes.sbn")) << Narrow(secondRow);  // newest first
  EXPECT_NE(preview.find(u"the lost state"), std::u16string::npos);
  const std::u16string restored = loader->ConfStore().DatabaseSettings.DatabaseFile();
  EXPECT_EQ(restored, temp.U("documents") + u"\\notes-1.sbn");
  EXPECT_TRUE(fs::exists(tree / "deep/er/notes.sbn.3~"));
  EXPECT_FALSE(fs::exists(tree / "deep/er/notes.sbn.3"));
  loader->ApplySettings();  // the program opens the restored file
  ASSERT_EQ(loader->Database().ListCount(), 1);
  EXPECT_EQ(loader->Database().List(0)->Item(0)->Text(), u"the lost state");
}

TEST_F(SettingsDialogsWin, LanguageEditorWritesCyrillicInto1251File) {
  WriteLanguage("english.lng",
                "[LANG_INFO]\r\nCodePage=1252\r\nName=English\r\nForBuild=108\r\n\r\n"
                "[FMAIN]\r\nbOk=OK\r\neFind=Find...\r\n");
  WriteLanguage("russian.lng",
                "[LANG_INFO]\r\nCodePage=1251\r\nName=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n"
                "ForBuild=108\r\n\r\n[FMAIN]\r\nbOk=\xCE\xEA\r\n");
  Start();
  loader->LangModule().Rescan();
  loader->LangModule().SetCurrentLanguage(u"russian.lng");
  TfLangEditor editor(loader->LangModule(), 108);
  std::u16string before, after, label;
  int unassigned = -1;
  test::TFormAnswerer answerer([&](TForm& form) {
    label = form.At(u"lLanguage").Text();
    editor.NextUnassigned(true);  // eFind: no Russian text yet
    unassigned = editor.SelectedRow();
    before = editor.Translation(unassigned);
    SetFocus(editor.TranslationMemo());
    SetWindowTextW(editor.TranslationMemo(), L"\x041D\x0430\x0439\x0442\x0438...");
    SetFocus(editor.List());  // leaving the box stores the text
    after = editor.Translation(unassigned);
    test::Click(form, u"Button2");
  });
  editor.ShowEditor(nullptr);
  EXPECT_EQ(label, u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439:");
  EXPECT_EQ(unassigned, 7);
  EXPECT_EQ(before, u"####### no-value ####### ");
  EXPECT_EQ(after, u"\u041D\u0430\u0439\u0442\u0438...");
  const std::string file = test::ReadAll(temp.Path("program/Languages/russian.lng"));
  EXPECT_NE(file.find("bOk=\xCE\xEA\r\neFind=\xCD\xE0\xE9\xF2\xE8...\r\n"), std::string::npos)
      << file;
}

// "Show All Messages" asks first; Yes forgets every remembered answer.
TEST_F(SettingsDialogsWin, EnableAllMessagesAsksAndForgets) {
  Start();
  const auto messageBox = []() -> TForm* {
    for (TForm* form : test::VisibleForms())
      if (form->Name() == u"uMsg") return form;
    return nullptr;
  };
  for (const char* answer : {"b2", "b1"}) {
    std::unique_ptr<TSettingsIni> ini = loader->ConfStore().OpenIni();
    ini->WriteInteger(u"Dialogs\\SomeMsg", u"DefaultAnswer", 6);
    ini->UpdateFile();
    std::u16string question;
    TWhenReady onSettings([] { return true; }, [&](TForm& form) {
      test::Click(form, u"XPButton2");
      test::Click(form, u"bCancel");
    });
    TWhenReady onQuestion([&] { return messageBox() != nullptr; }, [&](TForm&) {
      TForm* box = messageBox();
      question = box->Caption();
      test::Click(*box, std::u16string(answer, answer + 2));
    });
    TfSettings dialog;
    dialog.Execute(loader->ConfStore(), 0, nullptr);
    EXPECT_FALSE(question.empty());
    EXPECT_EQ(loader->ConfStore().OpenIni()->ValueExists(u"Dialogs\\SomeMsg", u"DefaultAnswer"),
              std::string(answer) == "b2")
        << answer;
  }
}

// New language: the name typed with its extension gets no second one, and
// the list of languages shows the new file at once.
TEST_F(SettingsDialogsWin, LanguageEditorCreatesANewLanguage) {
  Start();
  TfLangEditor editor(loader->LangModule(), 108);
  const auto inputBox = []() -> TForm* {
    for (TForm* form : test::VisibleForms())
      if (form->Name() == u"fInputBox") return form;
    return nullptr;
  };
  size_t before = 0, after = 0;
  TWhenReady onEditor([] { return true; }, [&](TForm& form) {
    before = form.At(u"cb2").ItemCount();
    editor.NewLanguage();
    after = form.At(u"cb2").ItemCount();
    test::Click(form, u"Button2");
  });
  TWhenReady typeName([&] { return inputBox() != nullptr; }, [&](TForm&) {
    TForm* box = inputBox();
    box->At(u"eValue").SetText(u" french.lng ");
    test::Click(*box, u"bOk");
  });
  editor.ShowEditor(nullptr);
  EXPECT_EQ(after, before + 1);
  EXPECT_TRUE(fs::exists(temp.Path("program/Languages/french.lng")));
  EXPECT_FALSE(fs::exists(temp.Path("program/Languages/french.lng.lng")));
}

// A path outside the ANSI code page moves with the wide calls; onto an
// existing file only with the user's Yes.
TEST(MoveDatabaseWin, PathOutsideTheAnsiCodePage) {
  test::TempFolder dir;
  const fs::path from = dir.Path("notes.sbn");
  const fs::path to = fs::path(dir.Path("")) / u"\u0417\u0430\u043C\u0435\u0442\u043A\u0438\u2013\u4E2D.sbn";
  test::WriteText(from, "bytes of the database");
  EXPECT_EQ(MoveDatabaseFile(SystemMoveSteps(), from.u16string(), to.u16string(), false),
            TMoveOutcome::kMoved);
  EXPECT_FALSE(fs::exists(from));
  EXPECT_EQ(test::ReadAll(to), "bytes of the database");
  test::WriteText(from, "another file");
  EXPECT_THROW(MoveDatabaseFile(SystemMoveSteps(), from.u16string(), to.u16string(), false),
               std::runtime_error);
  EXPECT_EQ(test::ReadAll(to), "bytes of the database");
  EXPECT_TRUE(fs::exists(from));
}

// With VELLUMIO_SHOT_DIR set, holds each dialog open until a screenshot
// of it has been taken: writes <name>.ready there and waits for
// <name>.done.
class SettingsDialogShots : public SettingsDialogsWin {
protected:
  fs::path dir;

  void Hold(TForm& form, const std::string& name) {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
    test::WriteText(dir / (name + ".ready"), "ready");
    for (int i = 0; i < 300 && !fs::exists(dir / (name + ".done")); ++i) {
      platform::ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
};

TEST_F(SettingsDialogShots, DISABLED_DialogsInEachShippedLanguage) {
  const char* shotDir = std::getenv("VELLUMIO_SHOT_DIR");
  ASSERT_NE(shotDir, nullptr);
  dir = shotDir;
  for (const char* file : {"english.lng", "german.lng", "russian.lng"}) CopyShippedLanguage(file);
  Start();
  testdata::DatabaseImage image;
  image.lists.push_back({});
  image.lists[0].name = "Notes";
  image.lists[0].uid = 7001;
  testdata::NoteImage note;
  note.uid = 7002, note.created = 45000, note.text = u"A note to restore";
  image.lists[0].notes.push_back(note);
  image.lastUid = 7002;
  const std::vector<uint8_t> bytes = testdata::WriteDatabase(image);
  fs::create_directories(temp.Path("disk/backup"));
  fs::create_directories(temp.Path("disk/old"));
  test::WriteText(temp.Path("disk/backup/notes.sbn.2"), std::string(bytes.begin(), bytes.end()));
  test::WriteText(temp.Path("disk/old/notes.sbn"), std::string(bytes.begin(), bytes.end()));
  loader->ConfStore().DatabaseSettings.SetDatabaseFile(temp.U("documents/notes.sbn"));
  for (const std::string language : {"english", "german", "russian"}) {
    loader->LangModule().SetCurrentLanguage(std::u16string(language.begin(), language.end()) +
                                            u".lng");
    loader->LoadLanguage(nullptr);
    for (int page = 0; page < 3; ++page)
      RunSettings(page, [&](TfSettings& d) {
        Hold(d, language + "-settings-" + std::to_string(page));
        test::Click(d, u"bCancel");
      });
    {
      TfHotKeys keys;
      test::TFormAnswerer answerer(
          [&](TForm& f) { Hold(f, language + "-hotkeys"), test::Click(f, u"bCancel"); });
      keys.Execute(loader->ConfStore().GeneralSettings.HotKeys, nullptr);
    }
    {
      TfDBRestore restore(loader->ConfStore());
      const std::string searching = language + "-restore-searching";
      restore.DriveRoots = [&] {
        // The walk waits until the picture of the search is taken.
        for (int i = 0; i < 300 && !fs::exists(dir / (searching + ".done")); ++i)
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return std::vector<std::u16string>{temp.U("disk")};
      };
      bool searchShot = false;
      TWhenReady whenSearching([&] { return true; }, [&](TForm& f) {
        Hold(f, searching);
        searchShot = true;
      });
      TWhenReady whenDone(
          [&] { return searchShot && restore.SearchDone() && restore.RowInfo(restore.RowCount() - 1); },
          [&](TForm& f) {
            ListView_SetItemState(restore.List(), 0, LVIS_SELECTED, LVIS_SELECTED);
            Hold(f, language + "-restore-done");
            test::Click(f, u"bCancel");
          });
      restore.Execute(nullptr);
    }
    {
      TfLangEditor editor(loader->LangModule(), 108);
      test::TFormAnswerer answerer([&](TForm& f) {
        editor.SelectRow(30);
        Hold(f, language + "-langeditor");
        test::Click(f, u"Button2");
      });
      editor.ShowEditor(nullptr);
    }
  }
}

}  // namespace
}  // namespace vellumio
