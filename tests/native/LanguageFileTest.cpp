// The language file reader: what translators write, and what the program
// reads from it.
#include <gtest/gtest.h>

#include "lang/LanguageFile.h"
#include "platform/Platform.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

std::u16string Read(const TLanguageFile& file, std::u16string_view section,
                    std::u16string_view key) {
  return file.ReadString(section, key, u"(none)");
}

TEST(LanguageFile, ValuesAsTheProgramReadsThem) {
  const TLanguageFile file = TLanguageFile::FromAnsiText(
      "[S]\n"
      "plain=Hello world\n"
      "padded =   spaced out  \t\n"
      "inner=a = b\n"
      "empty=\n"
      "quoted=\"  kept  \"\n"
      "doubled=\"say \"\"hi\"\" now\"\n"
      "tail=\"cut\" here\n"
      "open=\"never closed \n"
      "nothing=\"\"\n"
      "lone=\"\n"
      "onlyquote=\"\"\"\"\n"
      "midquote=it's \"fine\"\n"
      "breaks=one\\ntwo\\n\n");
  struct Case {
    std::u16string_view key, expected;
  } cases[] = {
      {u"plain", u"Hello world"},
      {u"padded", u"spaced out"},
      {u"inner", u"a = b"},  // the first "=" ends the key
      {u"empty", u""},
      {u"quoted", u"  kept  "},
      {u"doubled", u"say \"hi\" now"},
      {u"tail", u"cut"},
      {u"open", u"never closed"},  // the line is trimmed before the quote is read
      {u"nothing", u"\"\""},       // nothing between the quotes: the raw value
      {u"lone", u"\""},
      {u"onlyquote", u"\""},
      {u"midquote", u"it's \"fine\""},  // quotes count only at the start
      {u"breaks", u"one\r\ntwo\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(file, u"S", c.key), c.expected) << platform::ToAnsi(c.key);
  }
  EXPECT_EQ(file.RawValue(u"S", u"breaks"), u"one\\ntwo\\n") << "raw values keep \\n as written";
}

TEST(LanguageFile, CommentsSectionsAndIgnoredLines) {
  const TLanguageFile file = TLanguageFile::FromAnsiText(
      "before=outside any section\n"
      "; a comment=not a key\n"
      "[First]\n"
      "  ; indented comment=no\n"
      "\n"
      "   \n"
      "no equals sign here\n"
      "=empty key\n"
      "key=first;not a comment\n"
      "[Second]\n"
      "key=second\n"
      "[Broken\n"
      "other=still in Second\n");
  EXPECT_EQ(file.SectionNames(), (std::vector<std::u16string>{u"First", u"Second"}));
  EXPECT_EQ(file.KeyNames(u"First"), (std::vector<std::u16string>{u"key"}));
  EXPECT_EQ(Read(file, u"First", u"key"), u"first;not a comment");
  EXPECT_EQ(Read(file, u"Second", u"key"), u"second");
  EXPECT_EQ(Read(file, u"Second", u"other"), u"still in Second");
  EXPECT_EQ(Read(file, u"First", u"; a comment"), u"(none)");
  EXPECT_EQ(Read(file, u"", u"before"), u"(none)");
  EXPECT_EQ(Read(file, u"First", u""), u"(none)");
  EXPECT_EQ(Read(file, u"Missing", u"key"), u"(none)");
  EXPECT_FALSE(file.HasSection(u"Broken"));
}

TEST(LanguageFile, LineEndsDoNotMatter) {
  const std::string variants[] = {
      "[A]\r\nx=1\r\ny= two \r\n", "[A]\nx=1\ny= two \n",
      "[A]\r\nx=1\ny= two ",  // mixed, no final line end
  };
  for (const std::string& text : variants) {
    const TLanguageFile file = TLanguageFile::FromAnsiText(text);
    EXPECT_EQ(Read(file, u"A", u"x"), u"1");
    EXPECT_EQ(Read(file, u"A", u"y"), u"two") << "no CR left in the value";
  }
}

TEST(LanguageFile, NamesIgnoreCaseAndTheFirstDuplicateWins) {
  const TLanguageFile file = TLanguageFile::FromAnsiText(
      "[FMain]\nlCaption=first\nLCAPTION=second\n"
      "[fmain]\nlcaption=third\nmExtra=merged\n");
  EXPECT_EQ(Read(file, u"FMAIN", u"lcaption"), u"first");
  EXPECT_EQ(Read(file, u"fMain", u"MEXTRA"), u"merged") << "a repeated section adds its keys";
  EXPECT_EQ(file.SectionNames(), (std::vector<std::u16string>{u"FMain"}));
  EXPECT_EQ(file.KeyNames(u"FMAIN"), (std::vector<std::u16string>{u"lCaption", u"mExtra"}));
}

TEST(LanguageFile, TextIsInTheAnsiCodePage) {
  // "caf\xE9" and the euro sign of code page 1252; UTF-8 bytes are not decoded.
  const TLanguageFile file =
      TLanguageFile::FromAnsiText("[S]\nword=caf\xE9\nprice=5 \x80\nutf8=\xC3\xA9\n");
  EXPECT_EQ(Read(file, u"S", u"word"), platform::FromAnsi("caf\xE9"));
  EXPECT_EQ(Read(file, u"S", u"price"), platform::FromAnsi("5 \x80"));
  EXPECT_EQ(Read(file, u"S", u"utf8").size(), 2u);
#ifndef _WIN32
  EXPECT_EQ(Read(file, u"S", u"word"), u"caf\u00E9");
  EXPECT_EQ(Read(file, u"S", u"price"), u"5 \u20AC");
#endif
}

TEST(LanguageFile, ACodePageNamedInTheFileWinsOverTheSystems) {
  // "\xD0\xF3\xF1" is "Rus" in Cyrillic 1251 (and "Ðóñ" in 1252).
  const TLanguageFile russian = TLanguageFile::FromAnsiText(
      "; CodePage=1252 in a comment counts for nothing\r\n[LANG_INFO]\r\n codepage = 1251 \r\n"
      "Name=\xD0\xF3\xF1\r\n[FMAIN]\r\nmYes=\xC4\xE0\r\n");
  EXPECT_EQ(Read(russian, u"LANG_INFO", u"Name"), u"\u0420\u0443\u0441");
  EXPECT_EQ(Read(russian, u"FMAIN", u"mYes"), u"\u0414\u0430");  // the whole file, not one section

  struct Case {
    const char* text;
    unsigned declared;
  } cases[] = {
      {"[LANG_INFO]\nCodePage=1251\n", 1251},
      {"[lang_info]\r\nCODEPAGE=1252\r\n", 1252},
      {"[FMAIN]\nCodePage=1251\n", 0},              // only LANG_INFO names it
      {"[LANG_INFO]\nCodePage=12x1\n", 0},           // not a number
      {"[LANG_INFO]\nCodePage=99999999999\n", 0},    // no such code page
      {"[LANG_INFO]\nName=x\n", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TLanguageFile::DeclaredCodePage(c.text), c.declared) << c.text;
  // Without a name the system's code page applies, as before.
  const TLanguageFile plain = TLanguageFile::FromAnsiText("[S]\nword=\xD0\n");
  EXPECT_EQ(Read(plain, u"S", u"word"), platform::FromAnsi("\xD0"));
}

TEST(LanguageFile, Integers) {
  const TLanguageFile file = TLanguageFile::FromAnsiText(
      "[LANG_INFO]\nForBuild= 108 \nNeg=-5\nWord=abc\nHuge=99999999999\nEmpty=\n");
  EXPECT_EQ(file.ReadInteger(u"lang_info", u"forbuild", 0), 108);
  EXPECT_EQ(file.ReadInteger(u"LANG_INFO", u"Neg", 0), -5);
  EXPECT_EQ(file.ReadInteger(u"LANG_INFO", u"Word", 7), 7);
  EXPECT_EQ(file.ReadInteger(u"LANG_INFO", u"Huge", 7), 7);
  EXPECT_EQ(file.ReadInteger(u"LANG_INFO", u"Empty", 7), 7);
  EXPECT_EQ(file.ReadInteger(u"LANG_INFO", u"Missing", 7), 7);
}

TEST(LanguageFile, ReadsFilesAndReportsTheUnreadable) {
  test::TempFolder tmp;
  std::string longValue(100000, 'x');
  test::WriteText(tmp.Path("t.lng"), "[S]\r\nlong=" + longValue + "\r\nlast=end");
  const TLanguageFile file = TLanguageFile::FromFile(tmp.U("t.lng"));
  EXPECT_EQ(Read(file, u"S", u"long").size(), longValue.size());
  EXPECT_EQ(Read(file, u"S", u"last"), u"end");
  EXPECT_THROW(TLanguageFile::FromFile(tmp.U("missing.lng")), std::runtime_error);
  EXPECT_TRUE(TLanguageFile::FromAnsiText("").SectionNames().empty());
}

TEST(LanguageFile, ReplaceAll) {
  EXPECT_EQ(ReplaceAll(u"Scribbaloon and Scribbaloon", u"Scribbaloon", u"Vellumio"),
            u"Vellumio and Vellumio");
  EXPECT_EQ(ReplaceAll(u"scribbaloon", u"Scribbaloon", u"Vellumio"), u"scribbaloon");
  EXPECT_EQ(ReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(ReplaceAll(u"text", u"", u"x"), u"text");
  EXPECT_EQ(ExpandLineBreaks(u"\\n\\\\n"), u"\r\n\\\r\n");
}

}  // namespace
}  // namespace vellumio
