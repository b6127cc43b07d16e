#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "base/IniFile.h"
#include "noteview/SchModule.h"
#include "tests/support/TestFiles.h"

using namespace vellumio;

namespace {

void WriteScheme(const test::TempFolder& folder, const std::string& file, const std::string& name) {
  test::WriteText(folder.Path(file), name.empty() ? "[SCHEME]\nTAB_COLOR=red\n"
                                                  : "[SCHEME_INFO]\nName=" + name + "\n");
}

std::vector<std::u16string> DisplayNames(const TSchModule& module) {
  std::vector<std::u16string> names;
  for (const auto& entry : module.Names()) names.push_back(entry.name);
  return names;
}

// A folder with: default.sch "Default", vellumio.sch "Vellumio", dusk.sch
// and dusk2.sch both "Dusk", unnamed.sch without a name, and things that
// are no scheme files.
class SchemeModuleTest : public ::testing::Test {
protected:
  void SetUp() override {
    WriteScheme(folder_, "vellumio.sch", "Vellumio");
    WriteScheme(folder_, "default.sch", "Default");
    WriteScheme(folder_, "dusk.sch", "Dusk");
    WriteScheme(folder_, "dusk2.sch", "Dusk");
    WriteScheme(folder_, "unnamed.sch", "");
    WriteScheme(folder_, "notes.txt", "Not a scheme");
    WriteScheme(folder_, "scheme.sch.bak", "Backup");
    std::filesystem::create_directory(folder_.Path("folder.sch"));
  }
  test::TempFolder folder_;
};

TEST_F(SchemeModuleTest, ScansNamesSortedWithTheirFiles) {
  TSchModule module(folder_.U());
  ASSERT_EQ(module.Files().size(), 5u);
  EXPECT_EQ(DisplayNames(module), (std::vector<std::u16string>{u"Default", u"Dusk", u"Dusk",
                                                               u"unnamed.sch", u"Vellumio"}));
  // Every entry points at the file it was read from.
  const std::u16string expectedFiles[] = {u"default.sch", u"", u"", u"unnamed.sch",
                                          u"vellumio.sch"};
  for (int i : {0, 3, 4}) EXPECT_EQ(module.FileAt(i), expectedFiles[i]);
  // Both "Dusk" entries are listed, each with its own file.
  std::vector<std::u16string> dusks = {module.FileAt(1), module.FileAt(2)};
  std::sort(dusks.begin(), dusks.end());
  EXPECT_EQ(dusks, (std::vector<std::u16string>{u"dusk.sch", u"dusk2.sch"}));
  EXPECT_EQ(module.FileAt(5), u"");
  EXPECT_EQ(module.FileAt(-1), u"");
  // The folder gains one separator, never a second one.
  const char16_t last = module.Folder().back();
  EXPECT_TRUE(last == u'/' || last == u'\\');
  EXPECT_EQ(module.Folder().size(), folder_.U().size() + 1);
  EXPECT_EQ(TSchModule(module.Folder()).Folder(), module.Folder());
}

TEST_F(SchemeModuleTest, FindsFilesIgnoringFolderAndCase) {
  TSchModule module(folder_.U());
  EXPECT_EQ(module.IndexOfFile(u"vellumio.sch"), 4);
  EXPECT_EQ(module.IndexOfFile(u"VELLUMIO.SCH"), 4);
  EXPECT_EQ(module.IndexOfFile(u"C:\\Somewhere\\Else\\Vellumio.sch"), 4);
  EXPECT_EQ(module.FileAt(module.IndexOfFile(u"dusk2.sch")), u"dusk2.sch");
  // A vanished file falls back to the default scheme.
  EXPECT_EQ(module.IndexOfFile(u"vanished.sch"), 0);
  EXPECT_EQ(module.IndexOfFile(u""), 0);
}

TEST_F(SchemeModuleTest, WithoutDefaultAnUnknownFileIsNowhere) {
  std::filesystem::remove(folder_.Path("default.sch"));
  TSchModule module(folder_.U());
  EXPECT_EQ(module.IndexOfFile(u"vanished.sch"), -1);
  module.SetCurrentFile(u"vanished.sch");
  EXPECT_EQ(module.Current(), -1);
  EXPECT_EQ(module.CurrentFile(), module.FileAt(0));  // -1 is taken as the first entry
}

TEST_F(SchemeModuleTest, CurrentFileFollowsTheSettings) {
  TSchModule module(folder_.U());
  EXPECT_EQ(module.Current(), -1);
  EXPECT_EQ(module.CurrentFile(), u"default.sch");

  TIniFile settings;
  module.LoadCurrent(settings);  // nothing stored: the program's own scheme
  EXPECT_EQ(module.CurrentFile(), u"vellumio.sch");

  settings.WriteString(u"ColorScheme", u"CurrentScheme", u"Dusk2.SCH");
  module.LoadCurrent(settings);
  EXPECT_EQ(module.CurrentFile(), u"dusk2.sch");

  module.SetCurrentFile(u"unnamed.sch");
  module.SaveCurrent(settings);
  EXPECT_EQ(settings.ReadString(u"ColorScheme", u"CurrentScheme", u""), u"unnamed.sch");
}

TEST_F(SchemeModuleTest, RescanSeesNewAndRemovedFiles) {
  TSchModule module(folder_.U());
  WriteScheme(folder_, "aurora.sch", "Aurora");
  std::filesystem::remove(folder_.Path("dusk.sch"));
  module.Scan();
  EXPECT_EQ(DisplayNames(module), (std::vector<std::u16string>{u"Aurora", u"Default", u"Dusk",
                                                               u"unnamed.sch", u"Vellumio"}));
  EXPECT_EQ(module.FileAt(module.IndexOfFile(u"aurora.sch")), u"aurora.sch");
  EXPECT_EQ(module.FileAt(2), u"dusk2.sch");
}

TEST(SchemeModule, NoSchemesAtAll) {
  test::TempFolder empty;
  for (const std::u16string& folder : {empty.U(), empty.U("missing")}) {
    TSchModule module(folder);
    EXPECT_TRUE(module.Names().empty());
    EXPECT_EQ(module.IndexOfFile(u"default.sch"), -1);
    EXPECT_EQ(test::ErrorOf([&] { module.CurrentFile(); }), "Color scheme file not found.");
    // Saving keeps whatever the settings held.
    TIniFile settings;
    settings.WriteString(u"ColorScheme", u"CurrentScheme", u"kept.sch");
    module.LoadCurrent(settings);
    module.SaveCurrent(settings);
    EXPECT_EQ(settings.ReadString(u"ColorScheme", u"CurrentScheme", u""), u"kept.sch");
  }
}

}  // namespace
