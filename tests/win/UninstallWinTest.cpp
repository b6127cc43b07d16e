// The uninstall dialog's design and the tree removal of a complete
// removal on the Win32 layer. (The whole "/uninstall_dlg" run, with the
// uninstaller's window, the settings key and a linked folder, is covered
// end to end in tests/e2e.)
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TestFiles.h"
#include "tests/win/UiTestSupport.h"
#include "uninstall/TreeRemoval_win.h"
#include "uninstall/UnInst_win.h"

namespace vellumio {
namespace {

namespace fs = std::filesystem;

TEST(UnInstWin, FixedEnglishDesignAndTheCompleteChoice) {
  TfUnInst dialog;
  std::u16string caption, welcome;
  bool defaultChecked = false;
  SIZE client{};
  test::TFormAnswerer answer([&](ui::TForm& form) {
    caption = form.Caption();
    welcome = form.At(u"Label1").Text();
    defaultChecked = form.At(u"r1").Checked() && !form.At(u"r2").Checked();
    RECT r;
    GetClientRect(form.Handle(), &r);
    client = {MulDiv(r.right, 96, form.Dpi()), MulDiv(r.bottom, 96, form.Dpi())};
    test::Click(form, u"r2");
    test::Click(form, u"Button2");
  });
  EXPECT_EQ(dialog.Execute(), IDOK);
  EXPECT_TRUE(dialog.CompleteRemoval());
  EXPECT_EQ(caption, u"Select Uninstall Method");
  EXPECT_EQ(welcome, u"Welcome to the Vellumio Uninstall Program.");
  EXPECT_TRUE(defaultChecked);
  EXPECT_EQ(client.cx, 487);
  EXPECT_EQ(client.cy, 367);
  EXPECT_EQ(dialog.At(u"Button1").Text(), u"Cancel");
}

TEST(UnInstWin, TreeGoesWithReadOnlyFilesAndNothingBesideIt) {
  test::TempFolder dir("vellumio-uninst-");
  fs::create_directories(dir.Path("Data/Backup/old"));
  fs::create_directories(dir.Path("Data2"));
  test::WriteText(dir.Path("Data/Backup/old/notes.sbn0"), "x");
  test::WriteText(dir.Path("Data/locked.lng"), "x");
  test::WriteText(dir.Path("Data2/keep.txt"), "x");
  SetFileAttributesW(dir.Path("Data/locked.lng").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(dir.Path("Data/Backup").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);

  // A relative folder is refused even where it would name a real one.
  const fs::path before = fs::current_path();
  fs::current_path(dir.Path());
  RemoveFolderTree(u"Data\\");
  fs::current_path(before);
  EXPECT_TRUE(fs::exists(dir.Path("Data/locked.lng")));
  RemoveFolderTree(dir.Path("Data").make_preferred().u16string() + u"\\");
  EXPECT_FALSE(fs::exists(dir.Path("Data")));
  EXPECT_TRUE(fs::exists(dir.Path("Data2/keep.txt")));
}

}  // namespace
}  // namespace vellumio
