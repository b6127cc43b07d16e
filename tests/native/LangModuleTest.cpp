// The list of language files and the user's choice among them, on real
// folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "lang/LangModule.h"
#include "platform/Platform.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

std::string Info(const std::string& name, int build) {
  return "[LANG_INFO]\r\nName=" + name + "\r\nForBuild=" + std::to_string(build) + "\r\n";
}

struct LangModuleFixture : ::testing::Test {
  LangModuleFixture() {
    test::WriteText(tmp.Path("english.lng"), Info("English", 108));
    test::WriteText(tmp.Path("german.lng"), Info("Deutsch", 120));
    test::WriteText(tmp.Path("old.lng"), Info("Old", 107));
    test::WriteText(tmp.Path("noinfo.lng"), "[global]\nbOk=OK\n");
    test::WriteText(tmp.Path("ZULU.LNG"), Info("aardvark", 200));
    test::WriteText(tmp.Path("notes.txt"), Info("Not a language", 200));
    test::WriteText(tmp.Path("english.lng.bak"), Info("Backup", 200));
    std::filesystem::create_directory(tmp.Path("folder.lng"));
  }

  static std::vector<std::u16string> Names(const TLangModule& module) {
    std::vector<std::u16string> names;
    for (const auto& entry : module.DisplayNames()) names.push_back(entry.name);
    return names;
  }
  static std::u16string Selected(const TLangModule& module) {
    return module.DisplayNames().at(module.CurrentIndex()).name;
  }

  test::TempFolder tmp;
};

TEST_F(LangModuleFixture, ListsSortedNamesAndMarksOldBuilds) {
  const TLangModule module(tmp.U());
  EXPECT_EQ(Names(module), (std::vector<std::u16string>{u"aardvark", u"Deutsch", u"English",
                                                        u"noinfo.lng -", u"Old -"}));
  ASSERT_EQ(module.FileNames().size(), 5u);
  for (const auto& entry : module.DisplayNames()) {
    const std::u16string file = module.FileNames().at(entry.fileIndex);
    const std::u16string expected = entry.name == u"aardvark"  ? u"ZULU.LNG"
                                    : entry.name == u"Deutsch" ? u"german.lng"
                                    : entry.name == u"English" ? u"english.lng"
                                    : entry.name == u"Old -"   ? u"old.lng"
                                                               : u"noinfo.lng";
    EXPECT_EQ(file, expected) << platform::ToAnsi(entry.name);
  }
  const std::u16string sep = module.Folder().substr(module.Folder().size() - 1);
  EXPECT_TRUE(sep == u"/" || sep == u"\\") << "the folder ends with a separator";
}

TEST_F(LangModuleFixture, TheProgramsBuildDecidesWhatIsOld) {
  const TLangModule module(tmp.U(), 121);
  EXPECT_EQ(Names(module), (std::vector<std::u16string>{u"aardvark", u"Deutsch -", u"English -",
                                                        u"noinfo.lng -", u"Old -"}));
}

TEST_F(LangModuleFixture, SelectionFallsBackToEnglish) {
  TLangModule module(tmp.U());
  EXPECT_EQ(module.CurrentFileName(), u"english.lng") << "English until the store says otherwise";
  EXPECT_TRUE(module.IsLangModified());

  module.Load(u"GERMAN.LNG", false);
  EXPECT_EQ(module.CurrentFileName(), u"german.lng");
  EXPECT_EQ(Selected(module), u"Deutsch");
  EXPECT_FALSE(module.IsLangModified()) << "the stored flag wins over the selection";

  module.Load(u"removed.lng", true);
  EXPECT_EQ(module.CurrentFileName(), u"english.lng");
  module.Load(u"", false);
  EXPECT_EQ(module.CurrentFileName(), u"english.lng");
  module.Load(u"zulu.lng", false);
  EXPECT_EQ(module.CurrentFileName(), u"ZULU.LNG");

  std::u16string stored = u"removed.lng";
  bool modified = true;
  module.Save(stored, modified);
  EXPECT_EQ(stored, u"ZULU.LNG") << "the file's own spelling is stored";
  EXPECT_FALSE(modified);
}

TEST_F(LangModuleFixture, OnlyARealChangeMarksTheLanguageModified) {
  TLangModule module(tmp.U());
  module.Load(u"old.lng", false);
  module.SetCurrentIndex(module.CurrentIndex());
  EXPECT_FALSE(module.IsLangModified());
  module.SetCurrentLanguage(u"OLD.lng");
  EXPECT_FALSE(module.IsLangModified());
  module.SetCurrentIndex(0);
  EXPECT_TRUE(module.IsLangModified());
  EXPECT_EQ(module.CurrentFileName(), u"ZULU.LNG");
}

TEST_F(LangModuleFixture, RescanKeepsTheChoiceWhenTheListChanges) {
  TLangModule module(tmp.U());
  module.Load(u"german.lng", false);
  test::WriteText(tmp.Path("alpha.lng"), Info("Alpha", 108));
  module.Rescan();
  EXPECT_EQ(Names(module).front(), u"aardvark");
  EXPECT_EQ(Names(module).at(1), u"Alpha");
  EXPECT_EQ(module.CurrentFileName(), u"german.lng");
  EXPECT_FALSE(module.IsLangModified()) << "the user chose nothing";

  std::filesystem::remove(tmp.Path("german.lng"));
  module.Rescan();
  EXPECT_EQ(module.CurrentFileName(), u"english.lng");
  EXPECT_EQ(Selected(module), u"English");
  std::filesystem::remove(tmp.Path("english.lng"));
  module.Rescan();
  EXPECT_EQ(module.CurrentIndex(), -1);
  EXPECT_EQ(module.CurrentFileName(), u"");
}

TEST(LangModule, AFolderWithoutLanguagesSelectsNothing) {
  test::TempFolder tmp;
  for (const std::u16string& folder : {tmp.U(), tmp.U("missing")}) {
    TLangModule module(folder);
    EXPECT_TRUE(module.DisplayNames().empty());
    EXPECT_EQ(module.CurrentIndex(), -1);
    EXPECT_EQ(module.CurrentFileName(), u"");
    module.Load(u"german.lng", false);
    EXPECT_EQ(module.CurrentFileName(), u"");
    std::u16string stored = u"german.lng";
    bool modified = true;
    module.Save(stored, modified);
    EXPECT_EQ(stored, u"german.lng") << "nothing to choose from: the choice is kept";
    EXPECT_FALSE(modified);
  }
}

TEST(LangModule, LanguagesFolderBesideTheProgram) {
  AppFolders folders;
#ifdef _WIN32
  folders.programFolder = u"C:\\Program Files\\Vellumio\\";
  EXPECT_EQ(LanguagesFolder(folders), u"C:\\Program Files\\Vellumio\\Languages\\");
  folders.programFolder = u"C:\\Vellumio";
  EXPECT_EQ(LanguagesFolder(folders), u"C:\\Vellumio\\Languages\\");
#else
  folders.programFolder = u"/opt/vellumio/";
  EXPECT_EQ(LanguagesFolder(folders), u"/opt/vellumio/Languages/");
  folders.programFolder = u"/opt/vellumio";
  EXPECT_EQ(LanguagesFolder(folders), u"/opt/vellumio/Languages/");
#endif
}

}  // namespace
}  // namespace vellumio
