// The program's message box under Wine, answered from inside its own modal
// loop: the buttons, Escape and closing, the remembered answers in the
// settings, the modal bracket, the texts, the size and the place.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "lang/Message_win.h"
#include "tests/win/UiTestSupport.h"
#include "ui/PlaceNear.h"

namespace vellumio {
namespace {

using test::Click;
using test::PressKey;
using test::TFormAnswerer;
using ui::TForm;

const char kGlobal[] =
    "[global]\r\nbOk=Okay\r\nbYes=Sure\r\nbNo=Nope\r\ncDoNotShow=Stop asking\r\n";

// What the box showed when the answerer found it.
struct TSeen {
  std::u16string caption, message, b1, b2, check;
  bool b2Visible = false, checkVisible = false;
  RECT b1Rect{}, b2Rect{}, client{};
  int dpi = 96;
  bool ownerEnabled = true;
};

class MessageWin : public test::TUiFixture {
protected:
  MessageWin() {
    WriteLanguage("english.lng", test::LanguageText("English", kGlobal));
    StartLoader();
  }

  // Shows a box and answers it with `act` after recording what it showed.
  int Ask(const std::function<void(TForm&)>& act, bool okOnly = false, bool checkBox = true,
          const std::u16string& msgId = u"TestMsg", const std::u16string& text = u"Delete it?",
          HWND owner = nullptr) {
    TFormAnswerer answerer([&](TForm& box) {
      seen = Record(box, owner);
      act(box);
    });
    const int result =
        TuMsg::ShowMsg(IDI_QUESTION, u"Question", text, msgId, owner, okOnly, checkBox);
    shown = answerer.FormsSeen();
    return result;
  }

  static TSeen Record(TForm& box, HWND owner) {
    TSeen s;
    s.caption = box.Caption();
    s.message = box.At(u"lMsg").Text();
    s.b1 = box.At(u"b1").Text();
    s.b2 = box.At(u"b2").Text();
    s.check = box.At(u"cShowAg").Text();
    s.b2Visible = box.At(u"b2").Visible();
    s.checkVisible = box.At(u"cShowAg").Visible();
    s.b1Rect = test::ClientRectOf(box.At(u"b1").Handle());
    s.b2Rect = test::ClientRectOf(box.At(u"b2").Handle());
    GetClientRect(box.Handle(), &s.client);
    s.dpi = box.Dpi();
    if (owner) s.ownerEnabled = IsWindowEnabled(GetAncestor(owner, GA_ROOT)) != FALSE;
    return s;
  }

  bool Remembered(const std::u16string& msgId) const {
    return settings.Has(TuMsg::AnswerSection(msgId), u"DefaultAnswer");
  }
  std::u16string Stored(const std::u16string& msgId) const {
    return settings.Get(TuMsg::AnswerSection(msgId), u"DefaultAnswer");
  }

  static void TickAndPress(TForm& box, const char16_t* button) {
    Click(box, u"cShowAg");
    Click(box, button);
  }

  TSeen seen;
  int shown = 0;
};

TEST_F(MessageWin, YesWithTheTickIsRememberedAndAnswersAtOnceNextTime) {
  EXPECT_EQ(Ask([](TForm& box) { TickAndPress(box, u"b1"); }), kMsgYes);
  EXPECT_EQ(shown, 1);
  ASSERT_TRUE(Remembered(u"TestMsg"));
  EXPECT_EQ(Stored(u"TestMsg"), u"6");
  EXPECT_GE(settings.flushes, 1);

  window.calls.clear();
  EXPECT_EQ(Ask([](TForm& box) { Click(box, u"b2"); }), kMsgYes);
  EXPECT_EQ(shown, 0) << "a remembered answer shows no box";
  // The modal state is entered and left even when no box is shown.
  EXPECT_EQ(window.calls, (std::vector<std::string>{"begin", "end"}));
  EXPECT_EQ(loader->ModalLevel(), 0);
  // Another question is not affected.
  EXPECT_EQ(Ask([](TForm& box) { Click(box, u"b2"); }, false, true, u"OtherMsg"), kMsgCancel);
  EXPECT_EQ(shown, 1);
}

TEST_F(MessageWin, NoWithTheTickRemembersNothing) {
  EXPECT_EQ(Ask([](TForm& box) { TickAndPress(box, u"b2"); }), kMsgCancel);
  EXPECT_FALSE(Remembered(u"TestMsg"));
  EXPECT_EQ(Ask([](TForm& box) { Click(box, u"b1"); }), kMsgYes);
  EXPECT_EQ(shown, 1) << "asked again";
}

TEST_F(MessageWin, YesWithoutTheTickStoresNoAnswer) {
  EXPECT_EQ(Ask([](TForm& box) { Click(box, u"b1"); }), kMsgYes);
  ASSERT_TRUE(Remembered(u"TestMsg"));
  EXPECT_EQ(Stored(u"TestMsg"), u"-1");
  EXPECT_EQ(Ask([](TForm& box) { Click(box, u"b2"); }), kMsgCancel);
  EXPECT_EQ(shown, 1);
}

TEST_F(MessageWin, BoxWithoutTheCheckBoxIgnoresAStoredAnswer) {
  test::TMemorySettingsIni(settings).WriteInteger(u"Dialogs\\TestMsg", u"DefaultAnswer", 6);
  EXPECT_EQ(Ask([](TForm& box) { Click(box, u"b1"); }, true, false), kMsgYes);
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(seen.checkVisible);
  // OK is a Yes, and with nothing ticked it stores "no answer".
  EXPECT_EQ(Stored(u"TestMsg"), u"-1");
}

TEST_F(MessageWin, EscapeClosingAndEnterAnswerAsTheyShould) {
  EXPECT_EQ(Ask([](TForm& box) { PressKey(box, u"b1", VK_ESCAPE); }), kMsgCancel);
  EXPECT_EQ(Ask([](TForm& box) { PressKey(box, u"cShowAg", VK_ESCAPE); }), kMsgCancel);
  EXPECT_EQ(Ask([](TForm& box) { PostMessageW(box.Handle(), WM_CLOSE, 0, 0); }), kMsgCancel);
  EXPECT_FALSE(Remembered(u"TestMsg")) << "only Yes writes";
  EXPECT_EQ(Ask([](TForm& box) { PressKey(box, u"b1", VK_RETURN); }), kMsgYes);
  EXPECT_EQ(Stored(u"TestMsg"), u"-1");
  // Escape in an OK box is still "Cancel", though it has no such button.
  EXPECT_EQ(Ask([](TForm& box) { PressKey(box, u"b1", VK_ESCAPE); }, true, false), kMsgCancel);
}

TEST_F(MessageWin, ShowsTheTextsOfTheLanguageFile) {
  Ask([](TForm& box) { Click(box, u"b1"); });
  EXPECT_EQ(seen.caption, u"Question");
  EXPECT_EQ(seen.message, u"Delete it?");
  EXPECT_EQ(seen.b1, u"Sure");
  EXPECT_EQ(seen.b2, u"Nope");
  EXPECT_EQ(seen.check, u"Stop asking");
  EXPECT_TRUE(seen.b2Visible);
  EXPECT_TRUE(seen.checkVisible);
  EXPECT_EQ(seen.client.right, MulDiv(381, seen.dpi, 96));
  EXPECT_EQ(seen.client.bottom, MulDiv(135, seen.dpi, 96));

  Ask([](TForm& box) { Click(box, u"b1"); }, true, false);
  EXPECT_EQ(seen.b1, u"Okay");
  EXPECT_FALSE(seen.b2Visible);
  // OK takes the place of No.
  EXPECT_EQ(seen.b1Rect.left, seen.b2Rect.left);
  EXPECT_EQ(seen.b1Rect.top, seen.b2Rect.top);
}

TEST_F(MessageWin, LongTextMakesTheBoxTallerWithTheButtonsBelowIt) {
  std::u16string text;
  for (int i = 0; i < 30; ++i) text += u"A rather long line of text that wraps. ";
  Ask([](TForm& box) { Click(box, u"b2"); }, false, true, u"TestMsg", text);
  const int designHeight = MulDiv(135, seen.dpi, 96);
  EXPECT_GT(seen.client.bottom, designHeight + MulDiv(40, seen.dpi, 96));
  EXPECT_EQ(seen.client.right, MulDiv(381, seen.dpi, 96)) << "only the height grows";
  // The buttons keep their distance from the bottom edge.
  EXPECT_EQ(seen.client.bottom - seen.b1Rect.top, designHeight - MulDiv(96, seen.dpi, 96));
}

TEST_F(MessageWin, EnableAllMessagesForgetsEveryRememberedAnswer) {
  test::TMemorySettingsIni ini(settings);
  for (const char16_t* id : {u"DeleteNoteMsg", u"SomeLaterMsg", u"fSelectLang"})
    ini.WriteInteger(TuMsg::AnswerSection(id), u"DefaultAnswer", 6);
  ini.WriteInteger(u"Dialogs2", u"Keep", 1);
  const int flushes = settings.flushes;
  TuMsg::EnableAllMessages();
  EXPECT_FALSE(Remembered(u"DeleteNoteMsg"));
  EXPECT_FALSE(Remembered(u"SomeLaterMsg"));
  EXPECT_FALSE(Remembered(u"fSelectLang"));
  EXPECT_TRUE(settings.Has(u"Dialogs2", u"Keep")) << "a section of a similar name stays";
  EXPECT_GT(settings.flushes, flushes);
  EXPECT_EQ(Ask([](TForm& box) { Click(box, u"b2"); }, false, true, u"DeleteNoteMsg"), kMsgCancel);
  EXPECT_EQ(shown, 1);
}

TEST_F(MessageWin, NearAControlAndWithItsWindowDisabledMeanwhile) {
  const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 300, 200, 400,
                                     300, nullptr, nullptr, nullptr, nullptr);
  const HWND button = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 100, 100, 75, 25,
                                      owner, nullptr, nullptr, nullptr);
  SetCursorPos(5, 5);
  RECT boxRect{};
  TFormAnswerer answerer([&](TForm& box) {
    boxRect = box.Bounds();
    seen.ownerEnabled = IsWindowEnabled(owner) != FALSE;
    Click(box, u"b1");
  });
  EXPECT_EQ(TuMsg::ShowMsg(IDI_EXCLAMATION, u"W", u"T", u"NearMsg", button, true, false), kMsgYes);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  RECT b{};
  GetWindowRect(button, &b);
  POINT cursor{};
  GetCursorPos(&cursor);
  const ui::TPlacePoint expected = ui::PlaceNearPosition(
      {cursor.x, cursor.y}, ui::TPlaceRect{b.left, b.top, b.right, b.bottom},
      boxRect.right - boxRect.left, boxRect.bottom - boxRect.top, std::nullopt);
  EXPECT_EQ(boxRect.left, expected.x);
  EXPECT_EQ(boxRect.top, expected.y);
  DestroyWindow(owner);
}

TEST(MessageWinAlone, WithoutTheApplicationObjectTheBoxStillWorks) {
  ASSERT_EQ(Loader(), nullptr);
  ASSERT_EQ(ui::FormTranslator(), nullptr) << "a translator outlived its loader";
  TFormAnswerer answerer([](TForm& box) { Click(box, u"b1"); });
  EXPECT_EQ(TuMsg::ShowMsg(IDI_HAND, u"Error", u"Broken", u"X", nullptr, true, false), kMsgYes);
  EXPECT_EQ(answerer.FormsSeen(), 1);
  TuMsg::EnableAllMessages();  // nothing to forget, and no failure
}

}  // namespace
}  // namespace vellumio
