// Forms over real windows under Wine: the translation walk over real child
// controls and a real menu, a change of language, scaling for a new DPI,
// the form font and the modal loop.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/win/UiTestSupport.h"
#include "ui/Form_win.h"

namespace vellumio {
namespace {

using ui::TControlKind;
using ui::TForm;
using ui::TMenuComponent;

const char kEnglish[] =
    "[global]\r\nbOk=OK\r\nbClose=Close\r\n"
    "[FTEST]\r\nlCaption=Test form\r\nlName=Your name:\r\ncAuto=Automatic\r\nhName=Type it\r\n"
    "iFirst=First item\r\niSecond=Second item\r\neExit=Exit\r\neHelp=Help\r\nmMore=More\r\n"
    "eAbout=About\r\n";
const char kGerman[] =
    "[global]\r\nbOk=Gut\r\nbClose=Schliessen\r\n"
    "[FTEST]\r\nlCaption=Testformular\r\nlName=Ihr Name:\r\ncAuto=Automatisch\r\nhName=Tippen\r\n"
    "iFirst=Erster Eintrag\r\niSecond=Zweiter Eintrag\r\neExit=Beenden\r\neHelp=Hilfe\r\n"
    "mMore=Mehr\r\neAbout=Info\r\n";

enum : UINT { kExitId = 101, kHelpId = 102, kAboutId = 103 };

ui::TFormSpec TestFormSpec() { return {u"fTest", u"[lCaption]", 300, 200}; }

std::vector<ui::TControlSpec> TestControls() {
  return {
      {u"lName", TControlKind::kLabel, u"[lName]", 10, 10, 120, 16},
      {u"eName", TControlKind::kEdit, u"[lName]", 10, 30, 200, 22, 0, 0, 0, u"[hName]"},
      {u"_cAuto", TControlKind::kCheckBox, u"[ignored]", 10, 60, 150, 17},
      {u"lcb", TControlKind::kListBox, u"", 10, 80, 200, 60},
      {u"Panel1", TControlKind::kPanel, u"", 220, 80, 70, 60},
      {u"cbSize", TControlKind::kComboBox, u"", 220, 10, 70, 21},
      {u"rOne", TControlKind::kRadioButton, u"[iFirst]", 220, 40, 70, 17},
      {u"bOk", TControlKind::kDefaultButton, u"[.bOk]", 130, 165, 75, 25, 0, 0, IDOK},
      {u"__bClose", TControlKind::kButton, u"", 215, 165, 75, 25, 0, 0, 7},
  };
}

class FormWin : public test::TUiFixture {
protected:
  FormWin() {
    WriteLanguage("english.lng", test::LanguageText("English", kEnglish));
    WriteLanguage("german.lng", test::LanguageText("Deutsch", kGerman));
    StartLoader();
    form.AddComponent(&menu);
    menu.AddItem(u"_eExit", kExitId, u"");
    menu.AddItem(u"eHelpItem", kHelpId, u"[eHelp]");
    menu.AddSeparator();
    TMenuComponent& more = menu.AddSubmenu(u"_mMore", u"");
    more.AddItem(u"_eAbout", kAboutId, u"");
    form.Create();
  }

  void SwitchTo(const std::u16string& file) {
    loader->LangModule().SetCurrentLanguage(file);
    form.Translate();
  }
  std::u16string Text(const char16_t* control) const { return form.At(control).Text(); }
  std::u16string MenuText(HMENU m, UINT item, bool byPosition = false) const {
    return ui::MenuItemText(m, item, byPosition);
  }

  TForm form{TestFormSpec(), TestControls()};
  TMenuComponent menu{u"mTray", CreatePopupMenu(), true};
};

TEST_F(FormWin, PlaceholdersComeFromTheFormsSectionAndTheSharedOne) {
  form.At(u"lcb").AddItem(u"[iFirst]");
  form.At(u"lcb").AddItem(u"plain");
  form.At(u"lcb").AddItem(u"[.bOk]");
  form.At(u"lcb").SetSelected(2);
  form.At(u"cbSize").AddItem(u"[iSecond]");
  form.At(u"cbSize").AddItem(u"[iFirst]");
  form.At(u"cbSize").SetSelected(1);
  form.Translate();
  EXPECT_EQ(form.Caption(), u"Test form");
  EXPECT_EQ(Text(u"lName"), u"Your name:");
  EXPECT_EQ(Text(u"eName"), u"Your name:") << "an edit's Text";
  EXPECT_EQ(form.At(u"eName").StringProperty(u"Hint"), u"Type it");
  EXPECT_EQ(Text(u"_cAuto"), u"Automatic") << "a '_' name wins over the placeholder";
  EXPECT_EQ(Text(u"bOk"), u"OK");
  EXPECT_EQ(Text(u"__bClose"), u"Close") << "'__bClose' reads .bClose";
  ui::TFormControl& list = form.At(u"lcb");
  ASSERT_EQ(list.ItemCount(), 3u);
  EXPECT_EQ(list.Item(0), u"First item");
  EXPECT_EQ(list.Item(1), u"plain");
  EXPECT_EQ(list.Item(2), u"OK");
  EXPECT_EQ(list.Selected(), 2) << "replacing an item keeps the selection";
  ui::TFormControl& combo = form.At(u"cbSize");
  ASSERT_EQ(combo.ItemCount(), 2u);
  EXPECT_EQ(combo.Item(0), u"Second item");
  EXPECT_EQ(combo.Item(1), u"First item");
  EXPECT_EQ(combo.Selected(), 1);
  EXPECT_EQ(combo.Text(), u"First item") << "the combo box shows the translated choice";
  EXPECT_EQ(Text(u"rOne"), u"First item");
  EXPECT_EQ(MenuText(menu.Menu(), kExitId), u"Exit");
  EXPECT_EQ(MenuText(menu.Menu(), kHelpId), u"Help");
  EXPECT_EQ(MenuText(menu.Menu(), 3, true), u"More") << "the submenu's own caption";
  EXPECT_EQ(MenuText(GetSubMenu(menu.Menu(), 3), kAboutId), u"About");
}

TEST_F(FormWin, ALanguageChangeRetranslatesWhatIsNamedWithAnUnderscore) {
  form.Translate();
  form.At(u"lcb").AddItem(u"[iSecond]");
  SwitchTo(u"german.lng");
  EXPECT_EQ(Text(u"_cAuto"), u"Automatisch");
  EXPECT_EQ(Text(u"__bClose"), u"Schliessen");
  EXPECT_EQ(MenuText(menu.Menu(), kExitId), u"Beenden");
  EXPECT_EQ(MenuText(menu.Menu(), 3, true), u"Mehr");
  EXPECT_EQ(MenuText(GetSubMenu(menu.Menu(), 3), kAboutId), u"Info");
  EXPECT_EQ(form.At(u"lcb").Item(0), u"Zweiter Eintrag") << "a placeholder added later";
  // Placeholders were replaced in place the first time: they stay English.
  EXPECT_EQ(form.Caption(), u"Test form");
  EXPECT_EQ(Text(u"lName"), u"Your name:");
  EXPECT_EQ(Text(u"bOk"), u"OK");
  EXPECT_EQ(MenuText(menu.Menu(), kHelpId), u"Help");
  SwitchTo(u"english.lng");
  EXPECT_EQ(MenuText(menu.Menu(), kExitId), u"Exit");
  EXPECT_EQ(Text(u"_cAuto"), u"Automatic");
}

TEST_F(FormWin, ControlsAndFontFollowTheDpi) {
  const int dpi = form.Dpi();
  RECT r = test::ClientRectOf(form.At(u"eName").Handle());
  EXPECT_EQ(r.left, MulDiv(10, dpi, 96));
  EXPECT_EQ(r.right - r.left, MulDiv(200, dpi, 96));

  // The system's message for a move to a 144-DPI monitor.
  RECT suggested = form.Bounds();
  suggested.right = suggested.left + 480, suggested.bottom = suggested.top + 360;
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form.Dpi(), 144);
  const struct {
    const char16_t* name;
    int left, top, width, height;
  } expected[] = {
      {u"eName", 15, 45, 300, 33}, {u"bOk", 195, 248, 113, 38}, {u"_cAuto", 15, 90, 225, 26}};
  for (const auto& e : expected) {
    r = test::ClientRectOf(form.At(e.name).Handle());
    EXPECT_EQ(r.left, e.left) << std::string(e.name, e.name + 3);
    EXPECT_EQ(r.top, e.top);
    EXPECT_EQ(r.right - r.left, e.width);
    EXPECT_EQ(r.bottom - r.top, e.height);
  }
  const RECT bounds = form.Bounds();
  EXPECT_EQ(bounds.right - bounds.left, 480) << "the suggested rectangle is taken";
  LOGFONTW font{};
  const auto controlFont =
      reinterpret_cast<HFONT>(SendMessageW(form.At(u"bOk").Handle(), WM_GETFONT, 0, 0));
  ASSERT_EQ(controlFont, form.Font());
  GetObjectW(controlFont, sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -16);  // 8 points at 144 DPI
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(font.lfFaceName)), ui::FormFontFace());

  // Moving a control in design measures uses the current DPI.
  form.MoveControl(u"Panel1", 100, 100, 20, 10);
  r = test::ClientRectOf(form.At(u"Panel1").Handle());
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.bottom - r.top, 15);
}

TEST_F(FormWin, ClientSizeIsTheDesignAtTheFormsDpi) {
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, form.Scale(300));
  EXPECT_EQ(client.bottom, form.Scale(200));
  form.SetClientSize(320, 240);
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, form.Scale(320));
  EXPECT_EQ(client.bottom, form.Scale(240));
}

TEST(FormFont, SegoeUiWhereTheSystemHasItElseTahoma) {
  const std::u16string face = ui::FormFontFace();
  EXPECT_TRUE(face == u"Segoe UI" || face == u"Tahoma");
  ui::UniqueFont font = ui::CreateFormFont(120, 9);
  LOGFONTW lf{};
  ASSERT_TRUE(GetObjectW(font.get(), sizeof(lf), &lf));
  EXPECT_EQ(lf.lfHeight, -15);
}

TEST_F(FormWin, ModalLoopEndsWithTheButtonsResultOrCancel) {
  const auto popup = [](const wchar_t* name) {
    return CreateWindowExW(0, L"STATIC", name, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                           nullptr, nullptr, nullptr);
  };
  const HWND owner = popup(L"owner"), other = popup(L"other"), off = popup(L"off");
  EnableWindow(off, FALSE);
  const struct {
    const char* what;
    std::function<void(TForm&)> act;
    int result;
  } cases[] = {
      {"OK button", [](TForm& f) { test::Click(f, u"bOk"); }, IDOK},
      {"own result", [](TForm& f) { test::Click(f, u"__bClose"); }, 7},
      {"Escape in the list", [](TForm& f) { test::PressKey(f, u"lcb", VK_ESCAPE); }, 2},
      {"Enter in the edit", [](TForm& f) { test::PressKey(f, u"eName", VK_RETURN); }, IDOK},
      {"closed", [](TForm& f) { PostMessageW(f.Handle(), WM_CLOSE, 0, 0); }, 2},
      {"check box has no result",
       [](TForm& f) {
         test::Click(f, u"_cAuto");
         if (f.At(u"_cAuto").Checked()) test::Click(f, u"bOk");
       },
       IDOK},
  };
  for (const auto& c : cases) {
    bool ownerEnabled = true, otherEnabled = true;
    test::TFormAnswerer answerer([&](TForm& f) {
      ownerEnabled = IsWindowEnabled(owner) != FALSE;
      otherEnabled = IsWindowEnabled(other) != FALSE;
      c.act(f);
    });
    EXPECT_EQ(form.ShowModal(owner), c.result) << c.what;
    EXPECT_EQ(answerer.FormsSeen(), 1) << c.what;
    EXPECT_FALSE(ownerEnabled) << c.what;
    EXPECT_TRUE(IsWindowEnabled(owner)) << c.what;
    EXPECT_FALSE(otherEnabled) << "every window of the program waits: " << c.what;
    EXPECT_TRUE(IsWindowEnabled(other)) << c.what;
    EXPECT_FALSE(IsWindowEnabled(off)) << "a window disabled before stays so: " << c.what;
    EXPECT_FALSE(IsWindowVisible(form.Handle())) << c.what;
  }
  for (HWND w : {owner, other, off}) DestroyWindow(w);
}

TEST_F(FormWin, ItemsOfAMenuMadeElsewhereAreReachedOnceNamed) {
  const HMENU built = CreatePopupMenu();
  AppendMenuW(built, MF_STRING, kHelpId, L"[eHelp]");
  AppendMenuW(built, MF_STRING, kExitId, L"[eExit]");
  TMenuComponent named(u"mBuilt", built);  // not owned: destroyed below by hand
  named.NameItem(u"eHelpItem", kHelpId);
  form.AddComponent(&named);
  form.Translate();
  EXPECT_EQ(MenuText(built, kHelpId), u"Help");
  EXPECT_EQ(MenuText(built, kExitId), u"[eExit]") << "an item not named is not the walk's";
  EXPECT_TRUE(DestroyMenu(built));
}

TEST_F(FormWin, FindsItsFormBehindAHandleAndNothingElse) {
  EXPECT_EQ(TForm::FromHandle(form.Handle()), &form);
  EXPECT_EQ(TForm::FromHandle(form.At(u"bOk").Handle()), nullptr);
  EXPECT_EQ(TForm::FromHandle(GetDesktopWindow()), nullptr);
  EXPECT_EQ(form.Control(u"nothing"), nullptr);
  EXPECT_THROW(form.At(u"nothing"), std::logic_error);
}

}  // namespace
}  // namespace vellumio
