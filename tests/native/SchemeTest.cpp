#include "noteview/Scheme.h"

#include <gtest/gtest.h>

#include <string>

#include "base/TextUtil.h"
#include "noteview/SchemeColor.h"
#include "noteview/SchemeSysColor.h"
#include "tests/support/TestFiles.h"

using namespace vellumio;

namespace {

TEST(SchemeColor, ParsesValues) {
  struct Case {
    std::u16string text;
    TColor expected;
  } cases[] = {
      {u"#97CFFF", 0x00FFCF97},
      {u"#97cfff", 0x00FFCF97},
      {u"  #031B92 \t", 0x00921B03},
      {u"#000000", 0x00000000},
      {u"#FFFFFF", 0x00FFFFFF},
      {u"white", 0x00FFFFFF},
      {u"WHITE", 0x00FFFFFF},
      {u"White", 0x00FFFFFF},
      {u"  navy ", 0x00800000},
      {u"Maroon", 0x00000080},
      {u"olive", 0x00008080},
      {u"Teal", 0x00808000},
      {u"LtGray", 0x00C0C0C0},
      {u"dkgray", 0x00808080},
      {u"Fuchsia", 0x00FF00FF},
      {u"Aqua", 0x00FFFF00},
      {u"Lime", 0x0000FF00},
      {u"Yellow", 0x0000FFFF},
      // Malformed or unknown values are none, never an error.
      {u"", kColorNone},
      {u"   ", kColorNone},
      {u"#FFF", kColorNone},
      {u"#FFFFFF0", kColorNone},
      {u"#GG0000", kColorNone},
      {u"#", kColorNone},
      {u"# FFFFFF", kColorNone},
      {u"FFFFFF", kColorNone},
      {u"clWhite", kColorNone},
      {u"whitesmoke", kColorNone},
      {u"0x00FFFFFF", kColorNone},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseSchemeColor(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
}

TEST(SchemeColor, NamesEveryDesktopColourInIndexOrder) {
  const char16_t* names[kSchemeSysColorCount] = {
      u"ScrollBar",    u"Background",  u"ActiveCaption", u"InactiveCaption",
      u"Menu",         u"Window",      u"WindowFrame",   u"MenuText",
      u"WindowText",   u"CaptionText", u"ActiveBorder",  u"InactiveBorder",
      u"AppWorkSpace", u"Highlight",   u"HighlightText", u"BtnFace",
      u"BtnShadow",    u"GrayText",    u"BtnText",       u"InactiveCaptionText",
      u"BtnHighlight", u"3DDkShadow",  u"3DLight",       u"InfoText",
      u"InfoBk"};
  for (int i = 0; i < kSchemeSysColorCount; ++i) {
    EXPECT_EQ(ParseSchemeColor(names[i]), SchemeSysColor(i)) << i;
    EXPECT_EQ(ParseSchemeColor(UpperCaseUnits(names[i])), SchemeSysColor(i)) << i;
  }
  EXPECT_EQ(SchemeSysColor(-1), kColorNone);
  EXPECT_EQ(SchemeSysColor(kSchemeSysColorCount), kColorNone);
#ifndef _WIN32
  // The native build stands in with the classic desktop colours.
  EXPECT_EQ(ParseSchemeColor(u"BtnFace"), RgbColor(212, 208, 200));
  EXPECT_EQ(ParseSchemeColor(u"Highlight"), RgbColor(10, 36, 106));
  EXPECT_EQ(ParseSchemeColor(u"InfoBk"), RgbColor(255, 255, 225));
#endif
}

TEST(SchemeColor, GradientFields) {
  const TColor red = 0x000000FF, blue = 0x00FF0000;
  struct Case {
    std::u16string text;
    TGradientSpec expected;
  } cases[] = {
      {u"#008AFF", {0x00FF8A00, 0x00FF8A00, true, true}},
      {u"#FF0000:#0000FF:V:G", {red, blue, false, false}},
      {u"#FF0000:#0000FF", {red, blue, true, true}},
      {u"red:blue:h:g", {red, blue, true, false}},
      {u"red:blue:H:X", {red, blue, true, true}},
      {u"red:blue:horizontal", {red, blue, false, true}},
      {u"red::H", {red, kColorNone, true, true}},
      {u"red:blue::", {red, blue, false, true}},
      {u" red : blue : H : G ", {red, blue, true, false}},
      {u"", {kColorNone, kColorNone, true, true}},
      {u":", {kColorNone, kColorNone, true, true}},
      {u"nonsense", {kColorNone, kColorNone, true, true}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseGradientSpec(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
}

TEST(SchemeInteger, DecimalAndHex) {
  EXPECT_EQ(ParseSchemeInteger(u"10", 7), 10);
  EXPECT_EQ(ParseSchemeInteger(u" 256 ", 7), 256);
  EXPECT_EQ(ParseSchemeInteger(u"-3", 7), -3);
  EXPECT_EQ(ParseSchemeInteger(u"$20", 7), 32);
  EXPECT_EQ(ParseSchemeInteger(u"0x1F", 7), 31);
  for (const char16_t* bad : {u"", u"ten", u"12abc", u"$", u"0x", u"1 2", u"99999999999"})
    EXPECT_EQ(ParseSchemeInteger(bad, 7), 7) << std::string(bad, bad + 3);
}

void ExpectDefaults(const TScheme& s) {
  EXPECT_EQ(s.InfoBk0, 0x00FFCF97u);
  EXPECT_EQ(s.InfoBk1, 0x00FFBD6Fu);
  EXPECT_EQ(s.InfoFr0, 0x00921B03u);
  EXPECT_EQ(s.InfoFr1, 0x00921B03u);
  EXPECT_EQ(s.NoteBk0, 0x00FFFFFFu);
  EXPECT_EQ(s.NoteBk1, 0x00FFF2F2u);
  EXPECT_EQ(s.NoteFr0, 0u);
  EXPECT_EQ(s.NoteFr1, 0u);
  EXPECT_EQ(s.NoteFrFirst, 0x00808080u);
  EXPECT_EQ(s.TabColor, 0x00D8E9ECu);
  EXPECT_EQ(s.DateBk, (TGradientSpec{0x00FF8A00, 0x00FF8A00, true, true}));
  EXPECT_EQ(s.DateFr, 0x00FFFFFFu);
  EXPECT_EQ(s.DateSep, 0x00FFFFFFu);
  EXPECT_EQ(s.DateLine, 0x00FF0000u);
  EXPECT_EQ(s.CaptionFr, 0x00FFFFFFu);
  EXPECT_EQ(s.CaptionBk, 0x00800000u);
  EXPECT_EQ(s.CurItemRect, 0x00808080u);
  EXPECT_EQ(s.CheckBkSel, 0x00FFFFFFu);
  EXPECT_EQ(s.CheckFrSel, 0x00FF0000u);
  EXPECT_EQ(s.CheckFr, 0x00C0C0C0u);
  EXPECT_EQ(s.FocusedColor, 0u);
  EXPECT_EQ(s.FocusedAlpha, 10);
  EXPECT_EQ(s.ReminderColor, 0x000000FFu);
  EXPECT_EQ(s.ReminderAlpha, 50);
}

std::u16string Write(const test::TempFolder& folder, const std::string& name,
                     const std::string& text) {
  test::WriteText(folder.Path(name), text);
  return folder.U(name);
}

TEST(Scheme, NewSchemeHasEveryDefault) {
  TScheme scheme;
  ExpectDefaults(scheme);
  EXPECT_EQ(scheme.Name, u"No name");
  EXPECT_EQ(scheme.FileName, u"");
}

TEST(Scheme, InfoSectionAloneGivesTheDefaults) {
  test::TempFolder folder;
  TScheme scheme;
  scheme.Load(Write(folder, "only-info.sch", "[SCHEME_INFO]\r\nName=Only a name\r\n"));
  ExpectDefaults(scheme);
  EXPECT_EQ(scheme.Name, u"Only a name");
  EXPECT_EQ(scheme.FileName, u"only-info.sch");
}

TEST(Scheme, MissingFileGivesTheDefaults) {
  test::TempFolder folder;
  TScheme scheme;
  scheme.NoteBk0 = 1;
  scheme.Load(folder.U("gone.sch"));
  ExpectDefaults(scheme);
  EXPECT_EQ(scheme.Name, u"No name");
  EXPECT_EQ(scheme.FileName, u"gone.sch");
}

TEST(Scheme, ReadsEveryKey) {
  test::TempFolder folder;
  const std::string text =
      "[SCHEME_INFO]\nName = Night \n[SCHEME]\n"
      "INFO_BK_0=#010203\nINFO_BK_1=#040506\nINFO_FR_0=#070809\nINFO_FR_1=#0A0B0C\n"
      "NOTE_BK_0=WHITE\nNOTE_BK_1=#0D0E0F\nNOTE_FR_0=red\nNOTE_FR_1=lime\nNOTE_FR_FIRST=teal\n"
      "TAB_COLOR=#101112\nDATE_BK=#FF0000:#0000FF:V:G\nDATE_FR=maroon\nDATE_SEP=olive\n"
      "DATE_LINE=purple\nCAPTION_FR=silver\nCAPTION_BK=green\nCURITEM_RECT=aqua\n"
      "CHECK_BK_SEL=yellow\nCHECK_FR_SEL=fuchsia\nCHECK_FR=black\nFOCUSED_COLOR=#202122\n"
      "FOCUSED_ALPHA=64\nREMINDER_COLOR=bogus\nREMINDER_ALPHA=oops\n";
  TScheme s;
  s.Load(Write(folder, "night.sch", text));
  EXPECT_EQ(s.Name, u"Night");
  EXPECT_EQ(s.InfoBk0, 0x00030201u);
  EXPECT_EQ(s.InfoBk1, 0x00060504u);
  EXPECT_EQ(s.InfoFr0, 0x00090807u);
  EXPECT_EQ(s.InfoFr1, 0x000C0B0Au);
  EXPECT_EQ(s.NoteBk0, 0x00FFFFFFu);
  EXPECT_EQ(s.NoteBk1, 0x000F0E0Du);
  EXPECT_EQ(s.NoteFr0, 0x000000FFu);
  EXPECT_EQ(s.NoteFr1, 0x0000FF00u);
  EXPECT_EQ(s.NoteFrFirst, 0x00808000u);
  EXPECT_EQ(s.TabColor, 0x00121110u);
  EXPECT_EQ(s.DateBk, (TGradientSpec{0x000000FF, 0x00FF0000, false, false}));
  EXPECT_EQ(s.DateFr, 0x00000080u);
  EXPECT_EQ(s.DateSep, 0x00008080u);
  EXPECT_EQ(s.DateLine, 0x00800080u);
  EXPECT_EQ(s.CaptionFr, 0x00C0C0C0u);
  EXPECT_EQ(s.CaptionBk, 0x00008000u);
  EXPECT_EQ(s.CurItemRect, 0x00FFFF00u);
  EXPECT_EQ(s.CheckBkSel, 0x0000FFFFu);
  EXPECT_EQ(s.CheckFrSel, 0x00FF00FFu);
  EXPECT_EQ(s.CheckFr, 0u);
  EXPECT_EQ(s.FocusedColor, 0x00222120u);
  EXPECT_EQ(s.FocusedAlpha, 64);
  EXPECT_EQ(s.ReminderColor, kColorNone);  // a bad colour is none, not the default
  EXPECT_EQ(s.ReminderAlpha, 50);          // a bad number keeps the default
}

TEST(Scheme, BlankValueIsNoneAndTwoColoursAloneAreGlossy) {
  test::TempFolder folder;
  TScheme s;
  s.Load(Write(folder, "blank.sch", "[SCHEME]\nNOTE_BK_0=\nDATE_BK=#FF0000:#0000FF"));
  EXPECT_EQ(s.NoteBk0, kColorNone);
  EXPECT_EQ(s.DateBk, (TGradientSpec{0x000000FF, 0x00FF0000, true, true}));
  EXPECT_EQ(s.Name, u"No name");
}

TEST(Scheme, LoadingAgainReplacesEverything) {
  test::TempFolder folder;
  TScheme s;
  s.Load(Write(folder, "a.sch", "[SCHEME_INFO]\nName=A\n[SCHEME]\nTAB_COLOR=red\n"));
  s.Load(Write(folder, "b.sch", "[SCHEME_INFO]\nName=B\n"));
  EXPECT_EQ(s.Name, u"B");
  EXPECT_EQ(s.FileName, u"b.sch");
  EXPECT_EQ(s.TabColor, 0x00D8E9ECu);
}

TEST(Scheme, FileNameOfEitherSeparator) {
  EXPECT_EQ(SchemeFileNameOf(u"C:\\Program\\Schemes\\x.sch"), u"x.sch");
  EXPECT_EQ(SchemeFileNameOf(u"/opt/Schemes/y.sch"), u"y.sch");
  EXPECT_EQ(SchemeFileNameOf(u"z.sch"), u"z.sch");
}

}  // namespace
