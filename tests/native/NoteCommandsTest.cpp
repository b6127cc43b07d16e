// The view's note commands on plain lists: copied text, moving, completion,
// deleting, ending an edit and counting the days with notes.
#include "noteview/NoteCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/Clock.h"
#include "store/uNotesList.h"

namespace vellumio::noteview {
namespace {

using TextList = std::vector<std::u16string>;

struct NoteCommands : ::testing::Test {
  FixedClock clock{46000.5};
  TNoteListCollection db;
  TNotesList& list = *db.List(0);

  static TNoteItem* Append(TNotesList& to, const std::u16string& text, double created = 46000) {
    TNoteItem* note = to.Add();
    note->SetText(text);
    note->SetCreated(created);
    return note;
  }
  static TextList TextsOf(TNotesList& of) {
    TextList texts;
    for (int i = 0; i < of.Count(); ++i) texts.push_back(of.Item(i)->Text());
    return texts;
  }
  // The lines of a copied text, each note's date header cut to its mark.
  static TextList Lines(const std::u16string& text) {
    TextList lines;
    for (size_t start = 0;;) {
      const size_t at = text.find(u"\r\n", start);
      std::u16string line = text.substr(start, at - start);
      for (std::u16string mark : {u"##$>>[", u"["})
        if (line.starts_with(mark)) line = mark;
      lines.push_back(line);
      if (at == std::u16string::npos) break;
      start = at + 2;
    }
    return lines;
  }
};

TEST_F(NoteCommands, SelectedTextSeparatesNotesOnly) {
  for (auto text : {u"alpha", u"beta", u"gamma"}) Append(list, text);
  const TextList all{u"[", u"alpha",   u"", u" * * * ", u"",      u"[", u"beta",
                     u"",  u" * * * ", u"", u"[",       u"gamma", u""};
  EXPECT_EQ(Lines(SelectedText(list, {0, 1, 2}, 0, false)), all);
  EXPECT_EQ(Lines(SelectedText(list, {1}, 0, true)), all);
  EXPECT_EQ(Lines(SelectedText(list, {0, 2}, -1, false)),
            (TextList{u"##$>>[", u"alpha", u"", u" * * * ", u"", u"##$>>[", u"gamma", u""}));
}

TEST_F(NoteCommands, MoveToTopKeepsTheOrderAndDeleteTakesTheRest) {
  for (auto text : {u"n1", u"n2", u"n3", u"n4", u"n5"}) Append(list, text);
  list.Changed(false);
  EXPECT_EQ(MoveToTop(list, {1, 3}), 2);
  EXPECT_EQ(TextsOf(list), (TextList{u"n2", u"n4", u"n1", u"n3", u"n5"}));
  EXPECT_TRUE(list.IsModified());

  list.Changed(false);
  EXPECT_EQ(DeleteNotes(list, {0, 2, 4}), 3);
  EXPECT_EQ(TextsOf(list), (TextList{u"n4", u"n3"}));
  EXPECT_TRUE(list.IsModified());
}

TEST_F(NoteCommands, MoveToKeepsDatesOrGoesToTheTop) {
  TNotesList& newer = *db.AddList();
  TNotesList& mixed = *db.AddList();
  Append(newer, u"t300", 300);
  Append(newer, u"t200", 200);
  for (auto [text, date] : {std::pair{u"m300", 300}, {u"m200", 200}, {u"m80", 80}, {u"m10", 10}})
    Append(mixed, text, date);
  TNoteItem* first = Append(list, u"s100", 100);
  Append(list, u"s50", 50);
  Append(list, u"s20", 20);
  const int32_t uid = first->UID();

  EXPECT_EQ(MoveTo(list, {0}, newer), 1);
  EXPECT_EQ(TextsOf(newer), (TextList{u"s100", u"t300", u"t200"}));
  EXPECT_EQ(newer.Item(0)->UID(), uid);
  EXPECT_EQ(newer.Item(0)->Created(), 100);

  list.Changed(false);
  EXPECT_EQ(MoveTo(list, {0, 1}, mixed), 2);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.IsModified());
  EXPECT_TRUE(mixed.IsModified());
  EXPECT_EQ(TextsOf(mixed), (TextList{u"m300", u"m200", u"m80", u"s50", u"s20", u"m10"}));
}

// The filter hides notes of the target; the place is found among the
// visible ones but the note goes in among all of them.
TEST_F(NoteCommands, MoveToAFilteredList) {
  TNotesList& target = *db.AddList();
  Append(target, u"keep 300", 300);
  Append(target, u"hide 200", 200);
  Append(target, u"keep 10", 10);
  target.SetFilter(u"keep");
  Append(list, u"keep 100", 100);
  EXPECT_EQ(MoveTo(list, {0}, target), 1);
  EXPECT_EQ(TextsOf(target), (TextList{u"keep 300", u"hide 200", u"keep 100", u"keep 10"}));
}

TEST_F(NoteCommands, ToggleCompletedFollowsTheCurrentNote) {
  std::vector<TNoteItem*> n;
  for (auto text : {u"a", u"b", u"c", u"d"}) n.push_back(Append(list, text));
  for (int i : {0, 2, 3}) n[i]->SetCompleted(true);
  EXPECT_EQ(ToggleCompleted(list, nullptr, {0, 1, 2}), 0);
  EXPECT_TRUE(n[0]->Completed());
  EXPECT_EQ(ToggleCompleted(list, n[0], {0, 1, 2}), 2);
  for (int i : {0, 1, 2}) EXPECT_FALSE(n[i]->Completed()) << i;
  EXPECT_TRUE(n[3]->Completed());
  EXPECT_EQ(ToggleCompleted(list, n[1], {1, 3}), 1);
  EXPECT_TRUE(n[1]->Completed());
}

TEST_F(NoteCommands, StoreEditDeletesOnlyEmptiedNotes) {
  Append(list, u"first");
  Append(list, u"second");
  const std::u16string blank = u" \t ", subject = u"Topic";
  EXPECT_FALSE(StoreEdit(list, 1, u" \r\n", &subject));
  EXPECT_EQ(list.Item(1)->Text(), u" \r\n");
  EXPECT_EQ(list.Item(1)->Subject(), subject);
  EXPECT_FALSE(StoreEdit(list, 0, u" kept ", nullptr));
  EXPECT_EQ(list.Item(0)->Text(), u" kept ");

  EXPECT_TRUE(StoreEdit(list, 1, u"\r\n", &blank));
  EXPECT_TRUE(StoreEdit(list, 0, u"  ", nullptr));
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(NoteCommands, DaysWithNotesStopsAtTheLimit) {
  TNotesList& other = *db.AddList();
  for (double date : {100.2, 100.8, 101.1}) Append(list, u"x", date);
  for (double date : {101.5, 105.0}) Append(other, u"x", date);
  for (auto [limit, days] : {std::pair{10, 3}, {3, 3}, {2, 2}, {1, 1}, {0, 0}})
    EXPECT_EQ(DaysWithNotes(db, limit), days) << limit;
}

}  // namespace
}  // namespace vellumio::noteview
