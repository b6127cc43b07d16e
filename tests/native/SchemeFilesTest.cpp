// The scheme files shipped in Schemes/: each one complete and readable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include "base/IniFile.h"
#include "noteview/SchModule.h"
#include "noteview/Scheme.h"
#include "noteview/SchemeColor.h"
#include "tests/support/TestFiles.h"

using namespace vellumio;

namespace {

std::filesystem::path SchemesFolder() {
  return std::filesystem::path(VELLUMIO_TEST_SOURCE_DIR).parent_path() / "Schemes";
}

std::vector<std::filesystem::path> ShippedSchemes() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(SchemesFolder()))
    if (entry.path().extension() == ".sch") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

const std::u16string kColorKeys[] = {
    u"INFO_BK_0",     u"INFO_BK_1",    u"INFO_FR_0",    u"INFO_FR_1",     u"NOTE_BK_0",
    u"NOTE_BK_1",     u"NOTE_FR_0",    u"NOTE_FR_1",    u"NOTE_FR_FIRST", u"TAB_COLOR",
    u"DATE_FR",       u"DATE_SEP",     u"DATE_LINE",    u"CAPTION_FR",    u"CAPTION_BK",
    u"CURITEM_RECT",  u"CHECK_BK_SEL", u"CHECK_FR_SEL", u"CHECK_FR",      u"FOCUSED_COLOR",
    u"REMINDER_COLOR"};
const std::u16string kAlphaKeys[] = {u"FOCUSED_ALPHA", u"REMINDER_ALPHA"};
const std::u16string kGradientKey = u"DATE_BK";

TIniFile Read(const std::filesystem::path& file) {
  TIniFile ini;
  ini.LoadFromFile(file.u16string());
  return ini;
}

// Relative luminance and contrast ratio as the accessibility guidelines
// define them, to keep text readable on its background.
double Luminance(TColor color) {
  auto channel = [](unsigned value) {
    double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(color & 0xFF) + 0.7152 * channel(color >> 8 & 0xFF) +
         0.0722 * channel(color >> 16 & 0xFF);
}

double Contrast(TColor a, TColor b) {
  double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(SchemeFiles, TheExpectedFilesAreShipped) {
  auto files = ShippedSchemes();
  EXPECT_GE(files.size(), 5u);
  EXPECT_TRUE(std::filesystem::exists(SchemesFolder() / "default.sch"));
  EXPECT_TRUE(std::filesystem::exists(SchemesFolder() / "vellumio.sch"));
}

TEST(SchemeFiles, EachNamesEveryColour) {
  std::set<std::u16string> displayNames;
  for (const auto& file : ShippedSchemes()) {
    SCOPED_TRACE(file.filename().string());
    TIniFile ini = Read(file);
    auto name = ini.Find(u"SCHEME_INFO", u"Name");
    ASSERT_TRUE(name && !name->empty());
    EXPECT_TRUE(displayNames.insert(*name).second) << "a second scheme with this name";
    for (const auto& key : kColorKeys) {
      auto value = ini.Find(u"SCHEME", key);
      ASSERT_TRUE(value) << std::string(key.begin(), key.end()) << " missing";
      EXPECT_NE(ParseSchemeColor(*value), kColorNone) << std::string(key.begin(), key.end());
    }
    auto gradient = ini.Find(u"SCHEME", kGradientKey);
    ASSERT_TRUE(gradient);
    EXPECT_LE(std::count(gradient->begin(), gradient->end(), u':'), 3);
    TGradientSpec spec = ParseGradientSpec(*gradient);
    EXPECT_NE(spec.first, kColorNone);
    EXPECT_NE(spec.second, kColorNone);
    for (const auto& key : kAlphaKeys) {
      int32_t alpha = ParseSchemeInteger(ini.ReadString(u"SCHEME", key, u""), -1);
      EXPECT_TRUE(alpha >= 0 && alpha <= 256) << std::string(key.begin(), key.end());
    }
    // No misspelt key that would silently fall back to its default.
    EXPECT_EQ(ini.ReadSection(u"SCHEME").size(), std::size(kColorKeys) + std::size(kAlphaKeys) + 1);
  }
}

TEST(SchemeFiles, TextIsReadableOnItsBackground) {
  for (const auto& file : ShippedSchemes()) {
    SCOPED_TRACE(file.filename().string());
#ifdef _WIN32
    // Its colours are the user's desktop colours; natively they are the
    // classic ones, checked here like any other scheme.
    if (file.filename() == "desktop.sch") continue;
#endif
    TScheme s;
    s.Load(file.u16string());
    EXPECT_GE(Contrast(s.NoteFr0, s.NoteBk0), 7.0);
    EXPECT_GE(Contrast(s.NoteFr1, s.NoteBk1), 7.0);
    EXPECT_GE(Contrast(s.InfoFr0, s.InfoBk0), 4.5);
    EXPECT_GE(Contrast(s.InfoFr1, s.InfoBk1), 4.5);
    EXPECT_GE(Contrast(s.DateFr, s.DateBk.first), 3.0);
    EXPECT_GE(Contrast(s.DateFr, s.DateBk.second), 3.0);
    // The prompt is meant to look faint, but it must still be legible.
    EXPECT_GE(Contrast(s.NoteFrFirst, s.NoteBk0), 2.5);
  }
}

TEST(SchemeFiles, DefaultSchemeHoldsTheBuiltInColours) {
  TScheme builtIn, file;
  file.Load((SchemesFolder() / "default.sch").u16string());
  const TColor TScheme::*colors[] = {
      &TScheme::InfoBk0,      &TScheme::InfoBk1,    &TScheme::InfoFr0,   &TScheme::InfoFr1,
      &TScheme::NoteBk0,      &TScheme::NoteBk1,    &TScheme::NoteFr0,   &TScheme::NoteFr1,
      &TScheme::NoteFrFirst,  &TScheme::TabColor,   &TScheme::DateFr,    &TScheme::DateSep,
      &TScheme::DateLine,     &TScheme::CaptionFr,  &TScheme::CaptionBk, &TScheme::CurItemRect,
      &TScheme::CheckBkSel,   &TScheme::CheckFrSel, &TScheme::CheckFr,   &TScheme::FocusedColor,
      &TScheme::ReminderColor};
  for (size_t i = 0; i < std::size(colors); ++i)
    EXPECT_EQ(file.*colors[i], builtIn.*colors[i]) << i;
  EXPECT_EQ(file.DateBk, builtIn.DateBk);
  EXPECT_EQ(file.FocusedAlpha, builtIn.FocusedAlpha);
  EXPECT_EQ(file.ReminderAlpha, builtIn.ReminderAlpha);
  EXPECT_EQ(file.Name, u"Default");
}

TEST(SchemeFiles, ModuleStartsWithTheProgramsOwnScheme) {
  TSchModule module(SchemesFolder().u16string());
  EXPECT_EQ(module.Files().size(), ShippedSchemes().size());
  TIniFile noSettings;
  module.LoadCurrent(noSettings);
  EXPECT_EQ(module.CurrentFile(), u"vellumio.sch");
  EXPECT_EQ(module.Names()[module.Current()].name, u"Vellumio");
  EXPECT_EQ(module.FileAt(module.IndexOfFile(u"gone.sch")), u"default.sch");
}

}  // namespace
