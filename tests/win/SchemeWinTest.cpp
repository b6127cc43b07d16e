// The scheme files are read by the system's profile functions on Windows
// and by the project's INI reader in the native build (and in the portable
// settings file): both must make the same of every file a user may write.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "noteview/SchemeColor.h"
#include "noteview/SchemeFile.h"
#include "tests/support/TestFiles.h"

using namespace vellumio;

namespace {

struct TrickyFile {
  const char* what;
  std::string text;  // bytes as written to the file
};

const std::string kLong(70000, 'L');

const TrickyFile kFiles[] = {
    {"plain", "[S]\r\nk=v\r\nName=Plain\r\n"},
    {"blank values", "[S]\r\nk=\r\na=   \r\nb=\t\r\n"},
    {"missing section", "[T]\r\nk=v\r\n"},
    {"no sections", "k=v\r\na=1\r\n"},
    {"empty file", ""},
    {"spaces", "  [S]  \r\n   k   =   v  w   \r\n\ta\t=\t1\t\r\n"},
    {"inner header blanks", "[ S ]\r\nk=v\r\n[S ]\r\na=1\r\n"},
    {"case", "[s]\r\nK=upper\r\nNAME=n\r\n"},
    {"double quotes", "[S]\r\nk=\"  quoted  \"\r\na=\"\"\"\"\r\nb=\"\r\nName=\"half\r\n"},
    {"single quotes", "[S]\r\nk='x'\r\na='\"\r\nb=\"'\r\n"},
    {"inner quotes", "[S]\r\nk=a \"b\" c\r\na=\"a\" b\r\n"},
    {"duplicate keys", "[S]\r\nk=first\r\nK=second\r\nk=third\r\n"},
    {"duplicate sections", "[S]\r\nk=1\r\n[T]\r\nk=t\r\n[S]\r\nk=2\r\na=only-later\r\n"},
    {"long line", "[S]\r\nk=" + kLong + "\r\na=after\r\n"},
    {"long key", "[S]\r\n" + kLong + "=long key\r\nk=v\r\n"},
    {"no final newline", "[S]\r\na=1\r\nk=last"},
    {"no final newline, blank", "[S]\r\nk="},
    {"LF only", "[S]\nk=v\na=1"},
    {"comments", "; top\r\n[S]\r\n;k=commented\r\n# a=hash\r\nk=v ; not a comment\r\n"},
    {"line without equals", "[S]\r\nk\r\na =\r\n"},
    {"equals in value", "[S]\r\nk==v=w\r\n=nameless\r\n"},
    {"header oddities", "[S] trailing\r\nk=v\r\n[a]b]\r\nk=ab\r\n[T\r\na=in S\r\n"},
    {"ctrl-z", "[S]\r\nk=v\r\n\x1A"},
    {"ANSI text", "[S]\r\nk=caf\xE9\r\n"},
    {"UTF-16", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x16\x04 \0\r\0\n\0", 26)},
};

const char16_t* kSections[] = {u"S", u"s", u" S ", u"S ", u"T", u"Missing", u"a]b", u""};
const char16_t* kKeys[] = {u"k", u"K", u" k ", u"a", u"b", u"Name", u"missing", u";k", u"# a"};

std::string Show(const std::u16string& text) {
  std::string shown;
  for (char16_t c : text.substr(0, 40)) shown += c < 0x80 ? static_cast<char>(c) : '?';
  return shown + (text.size() > 40 ? "...(" + std::to_string(text.size()) + ")" : "");
}

TEST(SchemeFileWin, SystemReaderAndIniReaderAgree) {
  test::TempFolder folder;
  int index = 0, found = 0;
  for (const TrickyFile& file : kFiles) {
    // A fresh name per file: Wine caches a profile file by name and time.
    const std::string name = "tricky" + std::to_string(index++) + ".sch";
    test::WriteText(folder.Path(name), file.text);
    auto system = OpenProfileFile(folder.U(name));
    TIniProfileReader ours(folder.U(name));
    for (const char16_t* section : kSections) {
      for (const char16_t* key : kKeys) {
        std::u16string expected = system->ReadString(section, key, u"<default>");
        EXPECT_EQ(ours.ReadString(section, key, u"<default>"), expected)
            << file.what << ": [" << Show(section) << "] " << Show(key) << " -> " << Show(expected);
        found += expected != u"<default>";
      }
    }
  }
  // The comparison means nothing if the system found nothing at all.
  EXPECT_GT(found, 60);
}

TEST(SchemeFileWin, SystemReaderReturnsWholeLongValues) {
  test::TempFolder folder;
  test::WriteText(folder.Path("long.sch"), "[S]\r\nk=" + kLong + "\r\n");
  auto reader = OpenProfileFile(folder.U("long.sch"));
  EXPECT_EQ(reader->ReadString(u"S", u"k", u"").size(), kLong.size());
  EXPECT_EQ(reader->ReadString(u"S", u"missing", u"fallback"), u"fallback");
  EXPECT_EQ(OpenProfileFile(folder.U("none.sch"))->ReadString(u"S", u"k", u"d"), u"d");
}

TEST(SchemeFileWin, DesktopColourNamesFollowTheSystem) {
  const struct {
    const char16_t* name;
    int index;
  } names[] = {{u"ScrollBar", COLOR_SCROLLBAR},
               {u"Background", COLOR_BACKGROUND},
               {u"ActiveCaption", COLOR_ACTIVECAPTION},
               {u"InactiveCaption", COLOR_INACTIVECAPTION},
               {u"Menu", COLOR_MENU},
               {u"Window", COLOR_WINDOW},
               {u"WindowFrame", COLOR_WINDOWFRAME},
               {u"MenuText", COLOR_MENUTEXT},
               {u"WindowText", COLOR_WINDOWTEXT},
               {u"CaptionText", COLOR_CAPTIONTEXT},
               {u"ActiveBorder", COLOR_ACTIVEBORDER},
               {u"InactiveBorder", COLOR_INACTIVEBORDER},
               {u"AppWorkSpace", COLOR_APPWORKSPACE},
               {u"Highlight", COLOR_HIGHLIGHT},
               {u"HighlightText", COLOR_HIGHLIGHTTEXT},
               {u"BtnFace", COLOR_BTNFACE},
               {u"BtnShadow", COLOR_BTNSHADOW},
               {u"GrayText", COLOR_GRAYTEXT},
               {u"BtnText", COLOR_BTNTEXT},
               {u"InactiveCaptionText", COLOR_INACTIVECAPTIONTEXT},
               {u"BtnHighlight", COLOR_BTNHIGHLIGHT},
               {u"3DDkShadow", COLOR_3DDKSHADOW},
               {u"3DLight", COLOR_3DLIGHT},
               {u"InfoText", COLOR_INFOTEXT},
               {u"InfoBk", COLOR_INFOBK}};
  for (const auto& entry : names)
    EXPECT_EQ(ParseSchemeColor(entry.name), GetSysColor(entry.index)) << Show(entry.name);
}

}  // namespace
