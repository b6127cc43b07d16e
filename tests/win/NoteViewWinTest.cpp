// The note view on real windows: cards painted in the scheme's colours,
// the editors where the arrangement puts them, editing kept and cancelled,
// the context menu's enabled items, the clipboard after a copy and the
// links menu. A host of the test's own answers for the main window.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>

#include "base/Clock.h"
#include "noteview/NoteLayout.h"
#include "noteview/NoteListBox_win.h"
#include "noteview/NoteView_win.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"
#include "tests/support/TestFiles.h"

namespace vellumio::noteview {
namespace {

class TTestHost final : public INoteViewHost {
public:
  TNoteViewOptions options;
  bool answerYes = true;
  std::u16string askedQuestion, askedId;
  int changes = 0, escapes = 0;

  TNoteViewOptions Options() const override { return options; }
  std::u16string Text(std::u16string_view, std::u16string_view key) const override {
    if (key == u"mDeleteNotes") return u"Delete %d notes?";
    return u"[" + std::u16string(key) + u"]";
  }
  std::u16string DateFormat() const override { return u"dddd, d mmmm yyyy"; }
  std::u16string NewNoteShortcut() const override { return u"Ctrl+Shift+N"; }
  std::u16string schemesFolder, schemeFile;
  std::u16string SchemesFolder() const override { return schemesFolder; }
  std::u16string CurrentSchemeFile() const override { return schemeFile; }
  void NotesChanged(TNotesList&) override { ++changes; }
  void NoteDragStarted(INoteViewControl&) override {}
  void NoteDragEnded(INoteViewControl&) override {}
  void EscapeFromList() override { ++escapes; }
  bool ConfirmDelete(const std::u16string& question, std::u16string_view id) override {
    askedQuestion = question;
    askedId = std::u16string(id);
    return answerYes;
  }
  bool CanEditReminders() const override { return false; }
  bool EditReminder(TNotesList&, TNoteItem&) override { return false; }
  bool CanPrint() const override { return false; }
  void Print(INoteViewControl&, bool, bool) override {}
};

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class NoteViewWin : public ::testing::Test {
protected:
  TTestHost host;
  HWND parent = nullptr;
  std::unique_ptr<TNoteViewFactory> factory;
  std::unique_ptr<TNoteListCollection> database;
  TNotesList* list = nullptr;
  TNoteView* view = nullptr;

  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NoteViewTestParent";
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 480,
                             nullptr, nullptr, wc.hInstance, nullptr);
    factory = std::make_unique<TNoteViewFactory>(parent, wc.hInstance, host);
    SetNoteViewFactory(factory.get());
    database = std::make_unique<TNoteListCollection>();
  }
  void TearDown() override {
    database.reset();
    SetNoteViewFactory(nullptr);
    DestroyWindow(parent);
  }
  // A list with `texts` from the top down, each a day older than the last.
  void MakeList(std::initializer_list<const char16_t*> texts) {
    list = database->AddList();
    view = dynamic_cast<TNoteView*>(list->View());
    ASSERT_NE(view, nullptr);
    MoveWindow(view->Handle(), 0, 0, 320, 480, TRUE);
    view->SetVisible(true);
    int age = 0;
    for (const char16_t* text : texts) {
      TNoteItem* note = list->Add();
      note->SetText(text);
      note->SetCreated(std::floor(Now()) - age++ + 0.5);
    }
    list->NotifyViews();
  }
  // Paints one item as the list does, into a bitmap, and reads a pixel.
  COLORREF PixelOf(int index, bool selected, int x, int y) {
    TNoteListBox& box = view->ListBox();
    const RECT r = box.ItemRect(index);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const HDC screen = GetDC(nullptr);
    const HDC mem = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(mem, bitmap);
    box.DrawItem(mem, index, RECT{0, 0, width, height}, selected);
    const COLORREF pixel = GetPixel(mem, x < 0 ? width + x : x, y < 0 ? height + y : y);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pixel;
  }
  RECT RectIn(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, view->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

TEST_F(NoteViewWin, CardsArePaintedInTheSchemeColours) {
  MakeList({u"first", u"second", u"third"});
  // The second note's reminder is due.
  TReminderTask& reminder = list->VisibleNote(1)->Reminder();
  reminder.SetActive(true);
  reminder.SetNextTime(Now() - 1.0 / 24);
  const TScheme& s = view->Scheme();
  // The right edge at the bottom is card background on every card.
  EXPECT_EQ(PixelOf(1, false, -1, -2), s.NoteBk1);  // item 1 is odd
  EXPECT_EQ(PixelOf(3, false, -1, -2), s.NoteBk1);
  EXPECT_EQ(PixelOf(1, true, -1, -2), BlendColour(s.NoteBk1, true, false, s));
  EXPECT_EQ(PixelOf(2, false, -1, -2), BlendColour(s.NoteBk0, false, true, s));
  // Selected and due: the reminder tint wins.
  EXPECT_EQ(PixelOf(2, true, -1, -2), BlendColour(s.NoteBk0, false, true, s));
  // The selection bar left of the card.
  const TViewMetrics& m = view->Metrics();
  EXPECT_EQ(PixelOf(3, true, m.Px(49), -m.Px(8)), BlendColour(s.InfoBk1, false, true, s));
  EXPECT_EQ(PixelOf(3, false, m.Px(49), -m.Px(8)), s.NoteBk1);
  // The prompt's date header: separator row, then the line colour.
  EXPECT_EQ(PixelOf(0, false, 100, 0), s.DateSep);
  EXPECT_EQ(PixelOf(0, false, 100, 1), s.DateLine);
  // A completed note's check glyph is drawn in the "on" colour.
  TNoteItem& first = *list->VisibleNote(0);
  first.SetCompleted(true);
  const RECT item = view->ListBox().ItemRect(1);
  const int columnTop =
      item.bottom - item.top - first.LineCount() * m.lineHeight - CardGap(m, first.groupEnd);
  const TRect box = CompletionBox(0, columnTop, m);
  bool glyphSeen = false;
  for (int x = box.left; x < box.right && !glyphSeen; ++x)
    for (int y = box.top; y < box.bottom && !glyphSeen; ++y)
      glyphSeen = PixelOf(1, false, x, y) == s.CheckFrSel;
  EXPECT_TRUE(glyphSeen);
}

TEST_F(NoteViewWin, AGlyphInBlackStillShows) {
  // Black is the glyphs' own background colour; a scheme may still ask
  // for black marks.
  test::TempFolder temp;
  test::WriteText(temp.Path("black.sch"), "[SCHEME]\r\nCHECK_FR_SEL=black\r\n");
  host.schemesFolder = temp.U() + u"/";
  host.schemeFile = u"black.sch";
  MakeList({u"done"});
  ASSERT_EQ(view->Scheme().CheckFrSel, 0u);
  TNoteItem& note = *list->VisibleNote(0);
  note.SetCompleted(true);
  const TViewMetrics& m = view->Metrics();
  const RECT item = view->ListBox().ItemRect(1);
  const int columnTop =
      item.bottom - item.top - note.LineCount() * m.lineHeight - CardGap(m, note.groupEnd);
  const TRect box = CompletionBox(0, columnTop, m);
  int black = 0;
  for (int x = box.left; x < box.right; ++x)
    for (int y = box.top; y < box.bottom; ++y) black += PixelOf(1, false, x, y) == 0;
  EXPECT_GT(black, 5);
}

TEST_F(NoteViewWin, EditorsGoWhereTheArrangementSaysAndEscSavesWhileShiftEscCancels) {
  MakeList({u"keep me", u"other"});
  view->BeginEdit(1);
  ASSERT_TRUE(view->IsEditing());
  EXPECT_EQ(view->ListBox().Count(), 1);
  RECT client;
  GetClientRect(view->Handle(), &client);
  const TViewArrangement a = ArrangeView(client.right, client.bottom, view->Metrics(), true, true);
  const RECT memo = RectIn(view->MemoHandle());
  const RECT subject = RectIn(view->SubjectHandle());
  EXPECT_EQ((TRect{memo.left, memo.top, memo.right, memo.bottom}), a.memo);
  EXPECT_EQ((TRect{subject.left, subject.top, subject.right, subject.bottom}), a.subject);
  EXPECT_TRUE(IsWindowVisible(view->SaveButtonHandle()));
  EXPECT_EQ(GetFocus(), view->MemoHandle());

  SetWindowTextW(view->MemoHandle(), L"changed text");
  SetFocus(view->SubjectHandle());  // the subject is typed where it has the focus
  SetWindowTextW(view->SubjectHandle(), L"A subject");
  SendMessageW(view->MemoHandle(), WM_CHAR, VK_ESCAPE, 0);
  EXPECT_FALSE(view->IsEditing());
  EXPECT_EQ(list->VisibleNote(0)->Text(), u"changed text");
  EXPECT_EQ(list->VisibleNote(0)->Subject(), u"A subject");
  EXPECT_FALSE(IsWindowVisible(view->MemoHandle()));
  EXPECT_EQ(view->ListBox().Count(), 3);

  // Shift+Esc puts back what the note had when the edit began.
  view->BeginEdit(1);
  SetWindowTextW(view->MemoHandle(), L"thrown away");
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(view->MemoHandle(), WM_CHAR, VK_ESCAPE, 0);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(list->VisibleNote(0)->Text(), u"changed text");
  EXPECT_GE(host.changes, 2);

  // A note that arrives at the top while another is edited (a capture)
  // does not take the edit.
  view->BeginEdit(1);
  list->Insert(0)->SetText(u"captured");
  SetWindowTextW(view->MemoHandle(), L"edited after the capture");
  SendMessageW(view->MemoHandle(), WM_CHAR, VK_ESCAPE, 0);
  EXPECT_EQ(list->VisibleNote(0)->Text(), u"captured");
  EXPECT_EQ(list->VisibleNote(1)->Text(), u"edited after the capture");
  list->Delete(0);

  // A new note left empty is gone again when the edit ends.
  view->BeginEdit(0);
  EXPECT_EQ(list->VisibleCount(), 3);
  SendMessageW(view->MemoHandle(), WM_CHAR, VK_ESCAPE, 0);
  EXPECT_EQ(list->VisibleCount(), 2);
}

TEST_F(NoteViewWin, ALongNoteWithoutSpacesIsShownAndOpensInTheEditorAtOnce) {
  std::u16string digits;
  for (int i = 0; i < 900; ++i) digits += u"0123456789";
  MakeList({digits.c_str()});
  const auto start = std::chrono::steady_clock::now();
  UpdateWindow(view->ListBox().Handle());
  view->BeginEdit(1);
  UpdateWindow(view->Handle());
  // Seconds to minutes with a plain edit control that wraps the whole
  // paragraph again for every line.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  ASSERT_TRUE(view->IsEditing());
  SendMessageW(view->MemoHandle(), WM_CHAR, VK_ESCAPE, 0);
  EXPECT_EQ(list->VisibleNote(0)->Text(), digits);
}

TEST_F(NoteViewWin, ContextMenuEnablesEditOnlyForOneNoteAndWaitsForReminderAndPrint) {
  MakeList({u"one", u"two", u"three"});
  view->SelectIndex(2);
  HMENU menu = view->PrepareContextMenu(false);
  const auto enabled = [&](int tag) {
    return !(GetMenuState(menu, 0x100 + tag, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
  };
  EXPECT_TRUE(enabled(kTagEdit));
  EXPECT_TRUE(enabled(kTagCopy));
  EXPECT_FALSE(enabled(kTagReminder));  // no reminder editor yet
  EXPECT_FALSE(enabled(kTagPrintDialog));
  wchar_t caption[64] = {};
  GetMenuStringW(menu, 0x100 + kTagPrintDialog, caption, 64, MF_BYCOMMAND);
  EXPECT_STREQ(caption, L"[ePrintNote]...");  // AdvPrint is on
  // The view draws the pictures; the print item keeps its own under the new id.
  const auto hasPicture = [&](int tag) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_BITMAP;
    return GetMenuItemInfoW(menu, 0x100 + tag, FALSE, &item) && item.hbmpItem == HBMMENU_CALLBACK;
  };
  EXPECT_TRUE(hasPicture(kTagCopy) && hasPicture(kTagPrintDialog));

  view->ListBox().SetSelected(3, true);
  menu = view->PrepareContextMenu(false);
  EXPECT_FALSE(enabled(kTagEdit));
  EXPECT_TRUE(enabled(kTagDelete));

  host.options.advPrint = false;
  view->ApplySettings();
  menu = view->PrepareContextMenu(false);
  GetMenuStringW(menu, 0x100 + kTagPrint, caption, 64, MF_BYCOMMAND);
  EXPECT_STREQ(caption, L"[ePrintNote]");

  // Delete asks with the count and the right answer id; No keeps them.
  host.answerYes = false;
  view->RunMenuCommand(kTagDelete);
  EXPECT_EQ(host.askedQuestion, u"Delete 2 notes?");
  EXPECT_EQ(host.askedId, u"DeleteNotesMsg");
  EXPECT_EQ(list->VisibleCount(), 3);
  host.answerYes = true;
  view->RunMenuCommand(kTagDelete);
  EXPECT_EQ(list->VisibleCount(), 1);
  EXPECT_EQ(list->VisibleNote(0)->Text(), u"one");
}

TEST_F(NoteViewWin, CopyPutsTheSelectedNotesOnTheClipboardAndLinksMakeAMenu) {
  MakeList({u"alpha", u"beta see https://example.org/a&b and mail x@example.com"});
  view->SelectIndex(1);
  view->ListBox().SetSelected(2, true);
  ASSERT_TRUE(view->CopySelected());
  ASSERT_TRUE(OpenClipboard(nullptr));
  const HANDLE handle = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(handle, nullptr);
  const std::wstring text(static_cast<const wchar_t*>(GlobalLock(handle)));
  GlobalUnlock(handle);
  CloseClipboard();
  EXPECT_NE(text.find(L"alpha"), std::wstring::npos);
  EXPECT_NE(text.find(L" * * * "), std::wstring::npos);
  EXPECT_LT(text.find(L"alpha"), text.find(L"beta"));

  // The link mark's zone exists only on the note with links.
  TNoteItem* hit = nullptr;
  const TViewMetrics& m = view->Metrics();
  const RECT second = view->ListBox().ItemRect(2);
  const POINT mark{second.right - m.Px(9), second.bottom - CardGap(m, false) - m.Px(9)};
  EXPECT_EQ(view->HitTest(mark, &hit), kZoneLink);
  EXPECT_EQ(hit, list->VisibleNote(1));
  const RECT first = view->ListBox().ItemRect(1);
  EXPECT_NE(view->HitTest(POINT{first.right - m.Px(9), first.bottom - CardGap(m, false) - m.Px(9)},
                          nullptr),
            kZoneLink);

  // The menu lists both links; Escape closes it without opening anything.
  PostMessageW(view->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  view->ShowLinksMenu(10, 10, *list->VisibleNote(1));
  ASSERT_NE(view->LinksMenu(), nullptr);
  ASSERT_EQ(GetMenuItemCount(view->LinksMenu()), 2);
  wchar_t caption[128] = {};
  GetMenuStringW(view->LinksMenu(), 0, caption, 128, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"https://example.org/a&&b");  // shown with its "&"
  GetMenuStringW(view->LinksMenu(), 1, caption, 128, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"mailto:x@example.com");
}

}  // namespace
}  // namespace vellumio::noteview
