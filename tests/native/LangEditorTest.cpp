// The language editor without its window: the rows it builds from the
// English file, the searches over them, new file names, and translations
// written into a file in its own code page.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "lang/LangEditorModel.h"
#include "lang/LanguageFileEditor.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

TEST(LangEditorModel, LinesClassifiedWithTheirSectionsAndRowTexts) {
  const std::vector<std::u16string> lines = {
      u"; a comment",
      u"Orphan=before any section",
      u"  [FMAIN]  trailing",
      u"",
      u"  lCaption = \"Quoted value\"  ",
      u"aVeryLongKeyNameIndeed=cut",
      u"[broken",
      u"x=1",
      u";y=2",
  };
  const std::vector<TEditorLine> rows = ClassifyLines(lines);
  struct Expected {
    TLineKind kind;
    const char16_t *section, *key, *value, *text;
    bool editable;
  } expected[] = {
      {TLineKind::kOther, u"", u"", u"", u"; a comment", false},
      {TLineKind::kKey, u"", u"Orphan", u"before any section",
       u"Orphan         =before any section", false},
      {TLineKind::kSection, u"FMAIN", u"", u"", u"[FMAIN]  trailing", false},
      {TLineKind::kOther, u"", u"", u"", u"", false},
      {TLineKind::kKey, u"FMAIN", u"lCaption", u"Quoted value", u"lCaption       =Quoted value", true},
      {TLineKind::kKey, u"FMAIN", u"aVeryLongKeyNameIndeed", u"cut", u"aVeryLongKeyNam=cut", true},
      {TLineKind::kOther, u"", u"", u"", u"[broken", false},
      {TLineKind::kKey, u"FMAIN", u"x", u"1", u"x              =1", true},
      {TLineKind::kOther, u"", u"", u"", u";y=2", false},
  };
  ASSERT_EQ(rows.size(), std::size(expected));
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].kind, expected[i].kind);
    EXPECT_EQ(rows[i].section, expected[i].section);
    EXPECT_EQ(rows[i].key, expected[i].key);
    EXPECT_EQ(rows[i].value, expected[i].value);
    EXPECT_EQ(rows[i].text, expected[i].text);
    EXPECT_EQ(rows[i].Editable(), expected[i].editable);
  }
  EXPECT_EQ(TranslationColumn(u""), u"####### no-value ####### ");
  EXPECT_EQ(TranslationColumn(u"Datei"), u"Datei");
}

TEST(LangEditorModel, UnassignedAndFindWalkTheRows) {
  const std::u16string m(kNoValueMarker);
  const std::vector<std::u16string> second = {u"", m, u"a", m, u"b"};
  EXPECT_EQ(FindUnassigned(second, -1, true), 1);
  EXPECT_EQ(FindUnassigned(second, 1, true), 3);
  EXPECT_EQ(FindUnassigned(second, 3, true), -1);  // "No more unassigned items found."
  EXPECT_EQ(FindUnassigned(second, -1, false), 3);
  EXPECT_EQ(FindUnassigned(second, 3, false), 1);
  EXPECT_EQ(FindUnassigned(second, 1, false), -1);
  EXPECT_EQ(FindUnassigned({m + u"x"}, -1, true), -1);  // exactly the marker only

  const std::vector<std::u16string> texts = {u"[FMAIN]", u"bOk   =OK", u"lFile =Datei", u"bok2=ok"};
  EXPECT_EQ(FindRowText(texts, -1, u"ok"), 1);
  EXPECT_EQ(FindRowText(texts, 1, u"OK"), 3);
  EXPECT_EQ(FindRowText(texts, 3, u"ok"), -1);  // then the wrap question; Yes restarts at row 0
  EXPECT_EQ(FindRowText(texts, 0, u"ok"), 1);
  EXPECT_EQ(FindRowText(texts, -1, u""), -1);
}

TEST(LangEditorModel, NewLanguageNames) {
  struct Case {
    const char16_t* answer;
    const char16_t* file;  // null: "Wrong file name specified."
  } cases[] = {
      {u"french", u"french.lng"},   {u"  french  ", u"french.lng"},
      {u"french.lng", u"french.lng"}, {u"French.LNG ", u"French.lng"},
      {u"french.txt", u"french.lng"}, {u"", nullptr},
      {u"   ", nullptr},              {u".lng", nullptr},
      {u"..\\evil", nullptr},         {u"C:french", nullptr},
      {u"..", nullptr},
  };
  for (const Case& c : cases) {
    const auto file = NewLanguageFileName(c.answer);
    if (c.file) {
      EXPECT_EQ(file.value_or(u"(none)"), c.file) << ToUtf8(c.answer);
    } else {
      EXPECT_FALSE(file) << ToUtf8(c.answer);
    }
  }
}

// A Russian file names its code page: Cyrillic is written as Windows-1251
// bytes whatever the system's code page, and lines not written keep their
// bytes.
TEST(LanguageFileEditor, WritesInTheFilesOwnCodePage) {
  test::TempFolder dir;
  const std::string original =
      "; \xE1\xE0\xE9\xF2\r\n[LANG_INFO]\r\nCodePage=1251\r\nName=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n"
      "\r\n[FMAIN]\r\nbOk=\xCE\xEA\r\n\r\n[FSETTINGS]\r\nlCaption=old";
  test::WriteText(dir.Path("russian.lng"), original);
  TLanguageFileEditor file(dir.U("russian.lng"));
  EXPECT_EQ(file.CodePage(), 1251u);
  EXPECT_EQ(file.Read(u"fmain", u"BOK"), u"\u041E\u043A");
  EXPECT_EQ(file.Read(u"FMAIN", u"missing"), u"");

  file.Write(u"FMAIN", u"eFind", u"\u041D\u0430\u0439\u0442\u0438");  // new key in a section
  file.Write(u"FSETTINGS", u"LCAPTION", u"\u041F\u0430\u0440\u0430\u043C\u0435\u0442\u0440\u044B");
  file.Write(u"FNEW", u"lLine", u"two\r\nlines");                    // new section
  file.Write(u"FMAIN", u"bCancel", u" padded ");
  const std::string expected =
      "; \xE1\xE0\xE9\xF2\r\n[LANG_INFO]\r\nCodePage=1251\r\nName=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n"
      "\r\n[FMAIN]\r\nbOk=\xCE\xEA\r\neFind=\xCD\xE0\xE9\xF2\xE8\r\nbCancel=\" padded \"\r\n"
      "\r\n[FSETTINGS]\r\nLCAPTION=\xCF\xE0\xF0\xE0\xEC\xE5\xF2\xF0\xFB\r\n"
      "\r\n[FNEW]\r\nlLine=two\\nlines\r\n";
  EXPECT_EQ(test::ReadAll(dir.Path("russian.lng")), expected);
  // Read back by a new editor, as the next opening does.
  TLanguageFileEditor again(dir.U("russian.lng"));
  EXPECT_EQ(again.Read(u"FSETTINGS", u"lCaption"),
            u"\u041F\u0430\u0440\u0430\u043C\u0435\u0442\u0440\u044B");
  EXPECT_EQ(again.Read(u"FMAIN", u"bCancel"), u" padded ");
  EXPECT_EQ(again.Read(u"FNEW", u"lLine"), u"two\\nlines");

  // A character the code page has no byte for is refused, never stored as "?".
  try {
    again.Write(u"FMAIN", u"bOk", u"\u041E\u043A \u00E9");
    ADD_FAILURE() << "no refusal";
  } catch (const EUnencodableText& e) {
    EXPECT_EQ(e.Character(), u'\u00E9');
    EXPECT_EQ(e.CodePage(), 1251u);
  }
  EXPECT_EQ(test::ReadAll(dir.Path("russian.lng")), expected);
  // An empty value is written as such (the row shows the marker again).
  again.Write(u"FMAIN", u"bOk", u"");
  EXPECT_EQ(again.Read(u"FMAIN", u"bOk"), u"");
  EXPECT_NE(test::ReadAll(dir.Path("russian.lng")).find("\r\nbOk=\r\n"), std::string::npos);
}

TEST(LanguageFileEditor, MissingFileIsCreatedAndUnwritableFolderReported) {
  test::TempFolder dir;
  TLanguageFileEditor file(dir.U("new.lng"));
  file.Write(u"global", u"bOk", u"OK");
  EXPECT_EQ(test::ReadAll(dir.Path("new.lng")), "[global]\r\nbOk=OK\r\n");
  TLanguageFileEditor nowhere(dir.U("no/such/folder/") + u"x.lng");
  std::filesystem::create_directories(dir.Path("no"));
  test::WriteText(dir.Path("no/such"), "a file where the folder would be");
  EXPECT_THROW(nowhere.Write(u"global", u"bOk", u"OK"), std::runtime_error);
}

}  // namespace
}  // namespace vellumio
