#include "base/IniFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/TestFiles.h"

using vellumio::TIniFile;

namespace {

TIniFile Parse(std::u16string_view text) {
  TIniFile ini;
  ini.LoadFromText(text);
  return ini;
}

struct ReadCase {
  const char* what;
  std::u16string text;
  std::u16string section;
  std::u16string key;
  std::optional<std::u16string> expected;
};

TEST(IniFile, ReadsLikeTheProfileFunctions) {
  const ReadCase cases[] = {
      {"plain", u"[S]\nk=v\n", u"S", u"k", u"v"},
      {"names ignore case", u"[Scheme]\nNote_Bk=1\n", u"SCHEME", u"NOTE_BK", u"1"},
      {"blanks around key and value", u"[S]\n  k \t=   v w  \r\n", u"S", u"k", u"v w"},
      {"blanks in the asked names", u"[S]\nk=v\n", u" S ", u" k ", u"v"},
      {"blank value", u"[S]\nk=\n", u"S", u"k", u""},
      {"blank value of blanks", u"[S]\nk=   \n", u"S", u"k", u""},
      {"missing key", u"[S]\nk=v\n", u"S", u"x", std::nullopt},
      {"missing section", u"[S]\nk=v\n", u"T", u"k", std::nullopt},
      {"key of another section", u"[S]\nk=v\n[T]\nj=w\n", u"S", u"j", std::nullopt},
      {"double quotes", u"[S]\nk=\"  a b \"\n", u"S", u"k", u"  a b "},
      {"single quotes", u"[S]\nk='x'\n", u"S", u"k", u"x"},
      {"only one pair goes", u"[S]\nk=\"\"x\"\"\n", u"S", u"k", u"\"x\""},
      {"unmatched quotes stay", u"[S]\nk=\"x'\n", u"S", u"k", u"\"x'"},
      {"lone quote stays", u"[S]\nk=\"\n", u"S", u"k", u"\""},
      {"empty quotes", u"[S]\nk=\"\"\n", u"S", u"k", u""},
      {"first duplicate key", u"[S]\nk=1\nK=2\n", u"S", u"k", u"1"},
      {"first duplicate section", u"[S]\nk=1\n[s]\nk=2\n", u"S", u"k", u"1"},
      {"later duplicate section unseen", u"[S]\na=1\n[S]\nk=2\n", u"S", u"k", std::nullopt},
      {"no final newline", u"[S]\nk=last", u"S", u"k", u"last"},
      {"CR line ends", u"[S]\r\nk=v\r\n", u"S", u"k", u"v"},
      {"equals in value", u"[S]\nk=a=b\n", u"S", u"k", u"a=b"},
      {"line without equals", u"[S]\nk\n", u"S", u"k", std::nullopt},
      {"comment line is no key", u"[S]\n;k=v\n", u"S", u"k", std::nullopt},
      {"indented header", u"  [S]  \nk=v\n", u"S", u"k", u"v"},
      {"text after the header", u"[S] junk\nk=v\n", u"S", u"k", u"v"},
      {"name to the last bracket", u"[a]b]\nk=v\n", u"a]b", u"k", u"v"},
      {"blanks inside a header go", u"[ S ]\nk=v\n", u"S", u"k", u"v"},
      {"trimmed header is a duplicate", u"[S]\nk=1\n[ S ]\na=2\n", u"S", u"a", std::nullopt},
      {"header without bracket is a line", u"[S]\n[T\nk=v\n", u"S", u"k", u"v"},
      {"Ctrl+Z at the end", u"[S]\nk=v\x1A", u"S", u"k", u"v"},
      {"non-ASCII names", u"[Секция]\nКлюч=значение\n", u"СЕКЦИЯ", u"ключ", u"значение"},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(Parse(c.text).Find(c.section, c.key), c.expected) << c.what;
  }
}

TEST(IniFile, LongLinesAreReadWhole) {
  std::u16string value(100000, u'x');
  value[54321] = u'y';
  TIniFile ini = Parse(u"[S]\nk=" + value + u"\nafter=1");
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), value);
  EXPECT_EQ(ini.ReadString(u"S", u"after", u""), u"1");
}

TEST(IniFile, DefaultOnlyWhenMissing) {
  TIniFile ini = Parse(u"[S]\nempty=\n");
  EXPECT_EQ(ini.ReadString(u"S", u"empty", u"d"), u"");
  EXPECT_EQ(ini.ReadString(u"S", u"none", u"d"), u"d");
  EXPECT_TRUE(ini.ValueExists(u"S", u"empty"));
  EXPECT_FALSE(ini.ValueExists(u"S", u"none"));
}

TEST(IniFile, ListsSectionsAndKeys) {
  TIniFile ini = Parse(u"top=1\n[A]\nx=1\n; note\ny=2\n[B]\n[a]\nz=3\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::u16string>{u"A", u"B"}));
  EXPECT_EQ(ini.ReadSection(u"a"), (std::vector<std::u16string>{u"x", u"y"}));
  EXPECT_TRUE(ini.SectionExists(u"B"));
  EXPECT_FALSE(ini.SectionExists(u"C"));
  EXPECT_TRUE(ini.ReadSection(u"C").empty());
}

TEST(IniFile, WritesIntoTheFirstMatch) {
  TIniFile ini = Parse(u"[S]\nk=1\n[S]\nk=2\n");
  ini.WriteString(u"s", u"K", u"new");
  ini.WriteString(u"S", u"added", u"a");
  ini.WriteString(u"Settings\\General", u"TrayIcon", u"1");
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"new");
  EXPECT_EQ(ini.ReadString(u"S", u"added", u""), u"a");
  EXPECT_EQ(ini.ReadString(u"settings\\general", u"trayicon", u""), u"1");
  EXPECT_EQ(ini.SaveToText(),
            u"[S]\r\nk=new\r\nadded=a\r\n[S]\r\nk=2\r\n[Settings\\General]\r\nTrayIcon=1\r\n");
}

TEST(IniFile, DeletesKeysAndSections) {
  TIniFile ini = Parse(u"[S]\na=1\nb=2\n[T]\nc=3\n[s]\nd=4\n");
  ini.DeleteKey(u"S", u"A");
  ini.DeleteKey(u"S", u"missing");
  ini.DeleteKey(u"Missing", u"a");
  EXPECT_EQ(ini.ReadSection(u"S"), (std::vector<std::u16string>{u"b"}));
  ini.EraseSection(u"s");
  EXPECT_FALSE(ini.SectionExists(u"S"));
  EXPECT_EQ(ini.SaveToText(), u"[T]\r\nc=3\r\n");
}

TEST(IniFile, SavedTextReadsBackTheSameValues) {
  const std::u16string values[] = {u"",   u" lead", u"trail ",     u"\"quoted\"", u"'single'",
                                   u"\"", u"a=b",   u"plain text", u"\"half",     u"Ünïcödé"};
  TIniFile ini;
  for (size_t i = 0; i < std::size(values); ++i)
    ini.WriteString(u"S", u"k" + std::u16string(1, char16_t(u'a' + i)), values[i]);
  TIniFile again = Parse(ini.SaveToText());
  for (size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(again.Find(u"S", u"k" + std::u16string(1, char16_t(u'a' + i))), values[i]) << i;
}

TEST(IniFile, KeepsCommentsAndTopKeysWhenSaving) {
  TIniFile ini = Parse(u"top=1\n[S]\n; keep me\nk=v\n");
  ini.WriteString(u"S", u"k", u"w");
  EXPECT_EQ(ini.SaveToText(), u"top=1\r\n[S]\r\n; keep me\r\nk=w\r\n");
}

TEST(IniFile, DecodesByByteOrderMark) {
  TIniFile ini;
  ini.LoadFromBytes(std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\x16\x04", 16));
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"\u0416");
  ini.LoadFromBytes("\xEF\xBB\xBF[S]\nk=\xD0\x96");
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"\u0416");
  ini.LoadFromBytes("[S]\nk=caf\xE9");  // Windows-1252 natively
  EXPECT_EQ(ini.ReadString(u"S", u"k", u"").substr(0, 3), u"caf");
  EXPECT_EQ(ini.ReadString(u"S", u"k", u"").size(), 4u);
}

TEST(IniFile, FileRoundTripInEveryEncoding) {
  vellumio::test::TempFolder folder;
  TIniFile ini;
  ini.WriteString(u"ColorScheme", u"CurrentScheme", u"vellumio.sch");
  ini.WriteString(u"Text", u"Word", u"Grüße");
  for (auto encoding :
       {TIniFile::TEncoding::Utf16Le, TIniFile::TEncoding::Utf8, TIniFile::TEncoding::Ansi}) {
    ini.SaveToFile(folder.U("Vellumio.ini"), encoding);
    TIniFile back;
    back.LoadFromFile(folder.U("Vellumio.ini"));
    EXPECT_EQ(back.ReadString(u"colorscheme", u"currentscheme", u""), u"vellumio.sch");
    EXPECT_EQ(back.ReadString(u"Text", u"Word", u""), u"Grüße");
  }
  TIniFile missing;
  missing.LoadFromFile(folder.U("none.ini"));
  EXPECT_TRUE(missing.ReadSections().empty());
}

}  // namespace
