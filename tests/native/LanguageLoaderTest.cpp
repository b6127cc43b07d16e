// Key resolution of the language loader, its fallback to English and the
// text source that pairs the two.
#include <gtest/gtest.h>

#include <filesystem>

#include "lang/LanguageLoader.h"
#include "lang/TextSource.h"
#include "platform/Platform.h"
#include "tests/native/LangFakeComponent.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

const char kMain[] =
    "[LANG_INFO]\nName=Main\n"
    "[global]\nbOk=OK main\nlShared=Shared main\n"
    "[FSETTINGS]\nlCaption=Settings main\nlBreak=Line one\\nScribbaloon two\\n\n"
    "lDot.x=dotted key\nlLower=scribbaloon stays\nlLiteral=no-value\nlEmpty=\n"
    "[FMAIN]\nmOnlyMain=only main\n"
    "[FHOTKEYS]\nlCaption=Hot keys\n";

const char kEnglish[] =
    "[global]\nbOk=OK english\nbCancel=Cancel english\n"
    "[FSETTINGS]\nlCaption=Settings english\nlEnglishOnly=Only in English, Scribbaloon\n"
    "lLiteral=from english\n";

std::unique_ptr<TLanguageFile> Parsed(const char* text) {
  return std::make_unique<TLanguageFile>(TLanguageFile::FromAnsiText(text));
}

struct LoaderFixture : ::testing::Test {
  LoaderFixture() {
    english.SetFile(nullptr, Parsed(kEnglish));
    main.SetFile(nullptr, Parsed(kMain));
    main.SetFallback(&english);
    main.SetReplacement(u"Scribbaloon", u"Vellumio");
  }
  TLanguageLoader english, main;
};

TEST_F(LoaderFixture, ResolvesKeys) {
  struct Case {
    std::u16string_view section, key, expected;
  } cases[] = {
      {u"FSETTINGS", u"lCaption", u"Settings main"},
      {u"fsettings", u"LCAPTION", u"Settings main"},
      {u"FHOTKEYS", u"lCaption", u"Hot keys"},
      {u"", u".bOk", u"OK main"},
      {u"FMAIN", u".bOk", u"OK main"},  // the shared section, whatever the form
      {u"FMAIN", u".global.bOk", u"OK main"},
      {u"FMAIN", u".FSETTINGS.lCaption", u"Settings main"},
      {u"FMAIN", u"_FSETTINGS_lCaption", u"Settings main"},
      {u"FMAIN", u".FSETTINGS.lCaption.ignored", u"Settings main"},
      {u"FMAIN", u"_bOk", u"OK main"},
      {u"", u".lShared.", u"Shared main"},       // an empty third field counts as none
      {u"FSETTINGS", u"lDot.x", u"dotted key"},  // without a leading dot, dots are the key's
      {u"FSETTINGS", u"lDot_x", u"dotted key"},
      {u"FSETTINGS", u"lBreak", u"Line one\r\nVellumio two\r\n"},
      {u"FSETTINGS", u"lLower", u"scribbaloon stays"},  // the replacement minds case
      {u"FSETTINGS", u"lEmpty", u""},                   // empty is a text, not a miss
      {u"", u".bCancel", u"Cancel english"},
      {u"FSETTINGS", u"lEnglishOnly", u"Only in English, Vellumio"},
      {u"FSETTINGS", u"lLiteral", u"from english"},  // "no-value" in the file is a miss
      {u"FMAIN", u"lMissing", u"no-value"},
      {u"FHOTKEYS", u"mOnlyMain", u"no-value"},
      {u"FMAIN", u"", u"no-value"},
      {u"FMAIN", u".", u"no-value"},
      {u"NOSUCH", u"lCaption", u"no-value"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(main.Translate(c.section, c.key, true), c.expected)
        << platform::ToAnsi(c.section) << " / " << platform::ToAnsi(c.key);
  }
}

TEST_F(LoaderFixture, FallbackOnlyWhenAskedAndOnlyForMisses) {
  EXPECT_EQ(main.Translate(u"", u".bCancel", false), u"no-value");
  EXPECT_EQ(main.Translate(u"FSETTINGS", u"lLiteral", false), u"no-value");
  EXPECT_EQ(english.Translate(u"FSETTINGS", u"lEnglishOnly", true), u"Only in English, Scribbaloon")
      << "the English loader replaces nothing";

  TLanguageLoader last;
  last.SetFile(nullptr, Parsed("[S]\ndeep=from the last\n"));
  english.SetFallback(&last);
  EXPECT_EQ(main.Translate(u"S", u"deep", true), u"from the last") << "fallbacks chain";

  TLanguageLoader bare;
  EXPECT_EQ(bare.Translate(u"S", u"deep", true), u"no-value");
  bare.SetFallback(&english);
  EXPECT_EQ(bare.Translate(u"", u".bOk", true), u"OK english") << "no file of its own";
}

TEST_F(LoaderFixture, GetTextUsesTheSectionOfTheLastForm) {
  EXPECT_EQ(main.GetText(u"lCaption"), u"-error-");
  test::TFakeComponent form(u"fHotKeys");
  form[u"Caption"] = u"[lCaption]";
  main.SetFile(&form, Parsed(kMain));
  EXPECT_EQ(form[u"Caption"], u"Hot keys") << "a form given is translated";
  EXPECT_EQ(main.GetText(u"lCaption"), u"Hot keys");
  EXPECT_EQ(main.GetText(u".bOk"), u"OK main");
  main.SetFile(nullptr, Parsed(kMain));
  EXPECT_EQ(main.GetText(u"lCaption"), u"Hot keys") << "loading without a form keeps the section";
}

TEST_F(LoaderFixture, TranslatesNothingBeforeAFormAndAFile) {
  test::TFakeComponent other(u"fOther");
  other[u"Caption"] = u"[.bOk]";
  main.TranslateComponent(other);
  EXPECT_EQ(other[u"Caption"], u"[.bOk]") << "no form loaded yet";

  test::TFakeComponent form(u"fSettings");
  main.SetFile(&form, nullptr);
  main.TranslateComponent(other);
  EXPECT_EQ(other[u"Caption"], u"[.bOk]") << "no file";
  main.SetFile(nullptr, Parsed(kMain));
  main.TranslateComponent(other);
  EXPECT_EQ(other[u"Caption"], u"OK main");
}

TEST(LanguageLoader, LoadFileReadsFromDiskAndDropsTheOldFileOnFailure) {
  test::TempFolder tmp;
  test::WriteText(tmp.Path("a.lng"), "[global]\r\nbOk=from disk\r\n");
  TLanguageLoader english, loader;
  english.SetFile(nullptr, Parsed(kEnglish));
  loader.SetFallback(&english);
  loader.LoadFile(nullptr, tmp.U("a.lng"));
  EXPECT_EQ(loader.Translate(u"", u".bOk", true), u"from disk");
  EXPECT_THROW(loader.LoadFile(nullptr, tmp.U("missing.lng")), std::runtime_error);
  EXPECT_EQ(loader.File(), nullptr);
  EXPECT_EQ(loader.Translate(u"", u".bOk", true), u"OK english");
}

TEST(LanguageTextSource, UserLanguageOverEnglish) {
  test::TempFolder tmp;
  test::WriteText(tmp.Path("english.lng"), kEnglish);
  test::WriteText(tmp.Path("main.lng"), kMain);
  TTextSource texts(tmp.U());  // without a trailing separator
  texts.LoadEnglish();
  EXPECT_EQ(texts.GetText("", ".bOk"), u"OK english");

  test::TFakeComponent form(u"fSettings");
  form[u"Caption"] = u"[lCaption]";
  form[u"Hint"] = u"[lEnglishOnly]";
  texts.LoadLanguage(u"main.lng", &form);
  EXPECT_EQ(form[u"Caption"], u"Settings main");
  EXPECT_EQ(form[u"Hint"], u"Only in English, Vellumio");
  EXPECT_EQ(texts.GetText("", ".bOk"), u"OK main");
  EXPECT_EQ(texts.GetText(u"FSETTINGS", u"lBreak"), u"Line one\r\nVellumio two\r\n");
  EXPECT_EQ(texts.GetText("FMAIN", "lMissing"), u"no-value");

  test::WriteText(tmp.Path("main.lng"), "[global]\nbOk=edited\n");
  texts.LoadLanguage(u"main.lng");
  EXPECT_EQ(texts.GetText("", ".bOk"), u"edited") << "every load rereads the file";

  texts.LoadLanguage(u"");
  EXPECT_EQ(texts.GetText("", ".bOk"), u"OK english") << "no language file: English";
  EXPECT_THROW(texts.LoadLanguage(u"gone.lng"), std::runtime_error);
  EXPECT_EQ(texts.GetText("", ".bCancel"), u"Cancel english");
}

TEST(LanguageTextSource, WithoutEnglishEveryMissIsVisible) {
  test::TempFolder tmp;
  TTextSource texts(tmp.U());
  EXPECT_THROW(texts.LoadEnglish(), std::runtime_error);
  texts.LoadLanguage(u"");
  EXPECT_EQ(texts.GetText("FMAIN", "lCaption"), u"no-value");
}

TEST(LanguageTextSource, ReadsTheShippedEnglishFile) {
  const std::u16string folder =
      std::filesystem::path(VELLUMIO_TEST_SOURCE_DIR "/../Languages").u16string();
  if (!platform::FileExists(folder + u"/english.lng"))
    GTEST_SKIP() << "no Languages/english.lng yet";
  TTextSource texts(folder);
  texts.LoadEnglish();
  texts.LoadLanguage(u"english.lng");
  EXPECT_NE(texts.GetText("", ".bOk"), u"no-value");
  EXPECT_NE(texts.GetText("LANG_INFO", "Name"), u"no-value");
}

}  // namespace
}  // namespace vellumio
