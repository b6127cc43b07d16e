// A note's text functions, links, filter, copying and row height.
#include <gtest/gtest.h>

#include "base/Clock.h"
#include "base/Stream.h"
#include "store/uNotesList.h"

namespace vellumio {
namespace {

struct NoteFixture : ::testing::Test {
  FixedClock clock{46000.5};
  TNoteListCollection db;
  TNoteItem& note = *db.List(0)->Insert(0);
};

std::vector<std::u16string> LinksOf(TNoteItem& n, const std::u16string& text) {
  n.SetText(text);
  std::vector<std::u16string> out;
  for (int i = 0, count = n.LinkCount(); i < count; ++i) out.push_back(n.Link(i));
  return out;
}

TEST_F(NoteFixture, LinksAreFoundInOrderWithMailtoForAddresses) {
  using V = std::vector<std::u16string>;
  struct Case { std::u16string text; V links; };
  const Case cases[] = {
      {u"write to john.doe@example.co.uk today", {u"mailto:john.doe@example.co.uk"}},
      // The match starts after the colon, so the prefix is added once.
      {u"mailto:anna@mail.example.org", {u"mailto:anna@mail.example.org"}},
      {u"ftp://user@files.example.com/pub", {u"ftp://user@files.example.com/pub"}},
      {u"see www.example.com/page?x=1, or HTTPS://Example.com/A", {u"www.example.com/page?x=1,", u"HTTPS://Example.com/A"}},
      {u"file://C:/notes.txt\nand http://a.b/c\td@e.fg", {u"file://C:/notes.txt", u"http://a.b/c", u"mailto:d@e.fg"}},
      {u"no links: user@localhost, http:/broken, wwwexample.com", {}},
      {u"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(LinksOf(note, c.text), c.links);
  }
}

TEST_F(NoteFixture, SingleLineTextCollapsesRunsOfBreaksAndTabs) {
  note.SetText(u"\r\na\r\n\r\n\tb\tc \n");
  EXPECT_EQ(note.SingleLineText(), u" a b c  ");
}

TEST_F(NoteFixture, PreviewKeepsFourTrimmedNonEmptyLines) {
  note.SetText(u"  one  \r\n\r\ntwo\n \t \nthree\rfour\nfive\nsix");
  EXPECT_EQ(note.PreviewText(), u"one\ntwo\nthree\nfour\n");
  note.SetText(u" \r\n\t\n  ");
  EXPECT_EQ(note.PreviewText(), u"");
  note.SetText(u"last line without break");
  EXPECT_EQ(note.PreviewText(), u"last line without break\n");
}

TEST_F(NoteFixture, FilterIsCaseInsensitiveOverTextAndSubjectAndCached) {
  note.SetText(u"Stra\u00DFe und \u00C4pfel");
  note.SetSubject(u"Einkauf");
  EXPECT_TRUE(note.MatchesFilter(u"\u00E4PFEL"));
  EXPECT_TRUE(note.MatchesFilter(u"kauf"));
  EXPECT_FALSE(note.MatchesFilter(u"birnen"));
  // The result is kept for the same filter text.
  note.SetText(u"birnen");
  EXPECT_FALSE(note.MatchesFilter(u"birnen"));
  EXPECT_TRUE(note.MatchesFilter(u"BIRNEN"));
}

TEST_F(NoteFixture, SettersMarkOnlyRealChanges) {
  TMemoryStream sink;
  note.SaveToStream(sink);
  ASSERT_FALSE(note.IsModified());
  note.SetText(u"");
  note.SetCompleted(false);
  note.SetCreated(note.Created());
  EXPECT_FALSE(note.IsModified());
  note.SetText(u"x");
  EXPECT_TRUE(note.IsModified());
  EXPECT_EQ(note.Modified(), 46000.5);
  note.SaveToStream(sink);
  note.Reminder().SetActive(true);
  EXPECT_TRUE(note.IsModified());
}

TEST_F(NoteFixture, AssignCopiesEverythingAndClearsBothChangeMarks) {
  note.SetText(u"source");
  note.SetSubject(u"subj");
  note.SetFound(true);
  note.SetLayout(300, 6);
  note.Reminder().SetActive(true);
  note.Reminder().SetNextTime(46001);
  TNoteItem copy(nullptr);
  copy.Assign(note);
  EXPECT_EQ(copy.Text(), u"source");
  EXPECT_EQ(copy.Subject(), u"subj");
  EXPECT_EQ(copy.UID(), note.UID());
  EXPECT_EQ(copy.Created(), note.Created());
  EXPECT_TRUE(copy.Found());
  EXPECT_EQ(copy.LineCount(), 6);
  EXPECT_TRUE(copy.Reminder().Active());
  EXPECT_EQ(copy.Reminder().NextTime(), 46001);
  EXPECT_FALSE(copy.IsModified());
  EXPECT_FALSE(note.IsModified());
}

TEST_F(NoteFixture, SetTextResetsTheLayoutCache) {
  note.SetLayout(250, 5);
  note.SetText(u"new");
  EXPECT_EQ(note.LayoutWidth(), 0);
}

// A measurer that lays text out at a fixed number of characters per line.
struct GridMeasure : INoteMeasure {
  int width = 455;  // 400 pixels of text after the 55-pixel margin
  int ClientWidth() const override { return width; }
  int LineHeight() const override { return 10; }
  int TextHeight(const std::u16string& text, int w, bool bold) const override {
    const int perLine = w / (bold ? 10 : 8);
    const int lines = (static_cast<int>(text.size()) + perLine - 1) / perLine;
    return std::max(lines, 1) * 10;
  }
};

TEST_F(NoteFixture, RowHeightIsClampedFromThreeToEightLines) {
  GridMeasure view;
  note.SetText(u"two\r\nlines");
  EXPECT_EQ(note.CalcLines(view), 3);
  EXPECT_EQ(note.LayoutWidth(), 455);
  note.SetText(std::u16string(50 * 5 + 1, u'x'));  // six lines of 50
  EXPECT_EQ(note.CalcLines(view), 6);
  note.SetText(std::u16string(5000, u'x'));
  EXPECT_EQ(note.CalcLines(view), 8);
  EXPECT_EQ(note.LineCount(), 8);
}

struct SubjectHost : TDefaultStoreHost {
  SubjectHost() { showSubject = true; SetStoreHost(this); }
  ~SubjectHost() override { SetStoreHost(nullptr); }
};

TEST_F(NoteFixture, RowHeightCountsTheSubjectWhenShown) {
  GridMeasure view;
  note.SetText(std::u16string(150, u'x'));  // three lines
  note.SetSubject(std::u16string(80, u's'));  // two bold lines of 40
  EXPECT_EQ(note.CalcLines(view), 3);
  SubjectHost host;
  EXPECT_EQ(note.CalcLines(view), 5);
}

TEST_F(NoteFixture, ExportLinesOfANote) {
  note.SetText(u"  body\r\nmore  ");
  note.SetSubject(u" topic ");
  std::vector<std::u16string> lines;
  note.AddToLines(lines, true);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind(u"##$>>[", 0), 0u);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 2), u"] ");
  EXPECT_EQ(lines[1], u"body\r\nmore");
  EXPECT_EQ(lines[2], u"");
  SubjectHost host;
  lines.clear();
  note.AddToLines(lines, false);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0][0], u'[');
  EXPECT_EQ(lines[1], u"Subject: topic");
}

}  // namespace
}  // namespace vellumio
