// The marking search, Find again and Next reminder over real lists, the
// type-to-filter rules, and the tab strip's colours and names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TabLook.h"
#include "base/Clock.h"
#include "search/Search.h"
#include "search/TypeToFilter.h"
#include "store/StoreHost.h"
#include "store/uNotesList.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

using search::TFilterAction;

constexpr double kNow = 46000.5;

struct SubjectsShown : TDefaultStoreHost {
  explicit SubjectsShown(bool shown) {
    showSubject = shown;
    SetStoreHost(this);
  }
  ~SubjectsShown() override { SetStoreHost(nullptr); }
};

// The window side of the engine: records what it was asked to show.
struct RecordingWindow : search::ISearchWindow {
  TNoteListCollection& db;
  int selectedRow = -1;
  std::vector<std::u16string> messages;
  std::u16string dialogText;
  bool dialogOk = true;

  explicit RecordingWindow(TNoteListCollection& database) : db(database) {}
  bool RunFindDialog(std::u16string& text, bool&) override {
    text = dialogText;
    return dialogOk;
  }
  void ProcessMessages() override {}
  void BringOut() override {}
  int SelectedRow(TNotesList&) override { return selectedRow; }
  void ShowNote(TNotesList& list, int noteIndex) override {
    db.SetCurrentList(db.IndexOfList(&list));
    selectedRow = noteIndex + 1;
  }
  void Inform(std::u16string_view key, const std::u16string& argument,
              std::u16string_view answerId) override {
    messages.push_back(std::u16string(key) + u":" + argument + u":" + std::u16string(answerId));
  }
};

struct SearchFixture : ::testing::Test {
  FixedClock clock{kNow};
  // Find again saves the database first: into a scratch folder, not the
  // folder the tests run in.
  test::TempFolder folder;
  TNoteListCollection db;
  RecordingWindow window{db};
  search::TSearch engine{db, window};

  SearchFixture() { db.SetFileName(folder.Path("notes.sbn").u16string()); }

  // A list of notes "texts[0]" (top) ...
  TNotesList& MakeList(int index, std::vector<std::u16string> texts) {
    TNotesList& list = index < db.ListCount() ? *db.List(index) : *db.AddList();
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) list.Insert(0)->SetText(*it);
    return list;
  }
  std::vector<bool> Marks(TNotesList& list) {
    std::vector<bool> marks;
    for (int i = 0; i < list.Count(); ++i) marks.push_back(list.Item(i)->Found());
    return marks;
  }
};

TEST_F(SearchFixture, MarkMatchesComparesLettersNotCodePageGuesses) {
  SubjectsShown hidden(false);
  TNotesList& list = MakeList(0, {u"say привет!", u"город Москва", u"abcdef", u"party \U0001F389 time",
                                  u"Straße", u"plain"});
  list.Item(5)->SetSubject(u"subject ABC");
  struct Case {
    std::u16string text;
    std::vector<bool> marks;
    int count;
  } cases[] = {
      // "Москва" is not "привет", though both were six "?" in the code page.
      {u"ПРИВЕТ", {true, false, false, false, false, false}, 1},
      {u"\U0001F389", {false, false, false, true, false, false}, 1},
      // Upper-case needle inside a longer lower-case word.
      {u"BCD", {false, false, true, false, false, false}, 1},
      {u"STRAßE", {false, false, false, false, true, false}, 1},
      // Subjects are not searched while they are hidden.
      {u"subject", {false, false, false, false, false, false}, 0},
      {u"", {false, false, false, false, false, false}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(list.MarkMatches(c.text), c.count) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(Marks(list), c.marks);
  }
  SubjectsShown shown(true);
  EXPECT_EQ(list.MarkMatches(u"subject"), 1);
  // The subject follows the text after one space.
  EXPECT_EQ(list.MarkMatches(u"plain sub"), 1);
  EXPECT_TRUE(list.Item(5)->Found());
  EXPECT_TRUE(list.Item(5)->IsModified());
}

TEST_F(SearchFixture, FindWalksTheMarksAndStopsAtTheEnd) {
  SubjectsShown hidden(false);
  MakeList(0, {u"one apple", u"pear", u"two apples", u"apple three"});
  TNotesList& second = MakeList(1, {u"apple in the second list"});
  second.Item(0)->SetFound(true);  // an old mark, cleared by the search
  window.dialogText = u"APPLE";
  engine.Find();
  EXPECT_EQ(engine.Text(), u"APPLE");
  EXPECT_FALSE(second.Item(0)->Found());
  EXPECT_EQ(window.selectedRow, 1);
  // The current note is itself marked: Find again moves past it.
  EXPECT_TRUE(engine.FindNext(false));
  EXPECT_EQ(window.selectedRow, 3);
  EXPECT_TRUE(engine.FindNext(false));
  EXPECT_EQ(window.selectedRow, 4);
  EXPECT_TRUE(window.messages.empty());
  // Only the current list is marked, so the second list has no match.
  EXPECT_FALSE(engine.FindNext(false));
  EXPECT_EQ(window.selectedRow, 4);
  EXPECT_EQ(window.messages, (std::vector<std::u16string>{u"mSearchFailed:APPLE:SearchFailedMsg"}));

  // A search started in the second list clears the first one's marks.
  db.SetCurrentList(1);
  window.selectedRow = 0;
  engine.Find();
  EXPECT_EQ(Marks(*db.List(0)), (std::vector<bool>{false, false, false, false}));
  EXPECT_TRUE(second.Item(0)->Found());
  EXPECT_EQ(window.messages.size(), 1u);  // Find starts at the first list ...
  EXPECT_EQ(db.CurrentList(), 1);  // ... and reaches the second one's mark
  EXPECT_EQ(window.selectedRow, 1);

  window.dialogOk = false;
  window.dialogText = u"changed";
  engine.Find();
  EXPECT_EQ(engine.Text(), u"APPLE");
}

TEST_F(SearchFixture, NextReminderTakesTheEarliestAndTheFirstOfATie) {
  MakeList(0, {u"a", u"b"});
  TNotesList& second = MakeList(1, {u"c", u"d", u"e"});
  EXPECT_FALSE(engine.NextReminder());
  EXPECT_EQ(window.messages, (std::vector<std::u16string>{u"mNoActReminder::NoActiveRemindersMsg"}));
  const auto remind = [](TNoteItem* note, double at) {
    note->Reminder().SetActive(true);
    note->Reminder().SetNextTime(at);
  };
  remind(second.Item(2), kNow + 1);
  remind(second.Item(1), kNow + 2);
  EXPECT_TRUE(engine.NextReminder());
  EXPECT_EQ(db.CurrentList(), 1);
  EXPECT_EQ(window.selectedRow, 3);
  remind(db.List(0)->Item(1), kNow + 1);  // due together: the first list wins
  EXPECT_TRUE(engine.NextReminder());
  EXPECT_EQ(db.CurrentList(), 0);
  EXPECT_EQ(window.selectedRow, 2);
}

TEST(TypeToFilter, TypingOpensBackspacesCloseEscapeCloses) {
  search::TTypeToFilter filter;
  struct Step {
    char16_t ch;
    bool editing, inField;
    TFilterAction action;
    const char16_t* text;
    bool visible;
  } steps[] = {
      {u'\b', false, false, TFilterAction::kNone, u"", false},  // nothing to take back
      {u'a', true, false, TFilterAction::kNone, u"", false},    // the editor's
      {u'\r', false, false, TFilterAction::kNone, u"", false},  // a control character
      {u'a', false, false, TFilterAction::kOpen, u"a", true},
      {u'b', false, false, TFilterAction::kEdit, u"ab", true},
      {u'c', false, false, TFilterAction::kEdit, u"abc", true},
      {u'x', false, true, TFilterAction::kNone, u"abc", true},  // the field's own
      {u'\b', false, false, TFilterAction::kEdit, u"ab", true},
      {u'\b', false, false, TFilterAction::kEdit, u"a", true},
      {u'\b', false, false, TFilterAction::kClose, u"", false},
      {u'q', false, false, TFilterAction::kOpen, u"q", true},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(filter.Char(s.ch, s.editing, s.inField), s.action) << static_cast<int>(s.ch);
    EXPECT_EQ(filter.Text(), s.text);
    EXPECT_EQ(filter.Visible(), s.visible);
  }
  EXPECT_EQ(filter.FieldKey(0x28), TFilterAction::kToView);  // Down
  EXPECT_EQ(filter.FieldKey(0x08), TFilterAction::kClose);   // Backspace on one character
  filter.Char(u'a', false, false);
  filter.SetText(u"abc");
  EXPECT_EQ(filter.FieldKey(0x08), TFilterAction::kNone);  // the field takes it
  EXPECT_EQ(filter.FieldKey(0x1B), TFilterAction::kClose);
  EXPECT_FALSE(filter.Visible());
  EXPECT_EQ(filter.Text(), u"");
}

TEST(TabLook, ColoursAndTheFirstListsName) {
  EXPECT_EQ(app::TabColourIndex(0x00FFFF), 16);  // yellow, as 0x00BBGGRR
  EXPECT_EQ(app::TabColourIndex(0xD8E9EC), 7);   // light grey
  EXPECT_EQ(app::TabColourIndex(0x123456), -1);

  FixedClock clock{kNow};
  TNoteListCollection db;  // one list called "List 1"
  db.AddList()->SetName(u"List 1x");
  EXPECT_TRUE(app::RenameDefaultLists(db, u"Liste 1"));
  EXPECT_EQ(db.List(0)->GetName(), u"Liste 1");
  EXPECT_EQ(db.List(1)->GetName(), u"List 1x");
  EXPECT_TRUE(db.IsModified());
  EXPECT_FALSE(app::RenameDefaultLists(db, u"Liste 1"));
}

TEST(TabLook, TheFilterNarrowsEveryListAndTheTabsShowIt) {
  FixedClock clock{kNow};
  TNoteListCollection db;
  db.List(0)->Insert(0)->SetText(u"red apple");
  for (const char16_t* text : {u"pear", u"green apple"}) db.AddList()->Insert(0)->SetText(text);
  db.AddList();  // empty
  db.SetFilter(u"apple");
  std::vector<TabInfo> tabs;
  db.FillTabs(tabs, false);
  ASSERT_EQ(tabs.size(), 4u);
  EXPECT_EQ(tabs[1].colour, 0xFFFFFFu);  // no match: white
  EXPECT_NE(tabs[2].colour, 0xFFFFFFu);
  EXPECT_EQ(tabs[3].caption, u"-");  // no "*" while filtering
  EXPECT_EQ(app::NextListWithNotes(db, 0, 1), 2);
  EXPECT_EQ(app::NextListWithNotes(db, 2, 1), -1);
  EXPECT_EQ(app::NextListWithNotes(db, 2, -1), 0);
  // A list added or moved while filtering is filtered too.
  db.AddList()->Insert(0)->SetText(u"plum");
  EXPECT_EQ(db.List(4)->VisibleCount(), 0);
  db.MoveList(0, 3);
  EXPECT_EQ(db.List(3)->Filter(), u"apple");
  db.SetFilter(u"");
  EXPECT_EQ(db.List(1)->VisibleCount(), 1);
}

}  // namespace
}  // namespace vellumio
