#include "uninstall/RemovalPlan.h"

#include <gtest/gtest.h>

namespace vellumio {
namespace {

TEST(RemovalPlan, OnlyAbsoluteFoldersBelowADriveRootAreRemovable) {
  const struct {
    const char16_t* path;
    bool root, absolute, removable;
  } cases[] = {
      {u"", false, false, false},
      {u"C:", true, false, false},
      {u"c:\\", true, true, false},
      {u"D:/", true, true, false},
      {u"C:\\\\", true, true, false},
      {u"\\\\server\\share\\", true, true, false},
      {u"\\\\server\\share", true, true, false},
      {u"\\\\server\\", false, false, false},
      {u"Help\\", false, false, false},
      {u"C:Help\\", false, false, false},
      {u"\\Help\\", false, false, false},
      {u"C:\\Program Files\\Vellumio\\Help\\", false, true, true},
      {u"C:\\P\\..\\", false, true, false},
      {u"C:\\P\\.\\", false, true, false},
      {u"\\\\server\\share\\Vellumio\\", false, true, true},
  };
  for (const auto& c : cases) {
    const std::u16string path = c.path;
    EXPECT_EQ(IsDriveRoot(path), c.root) << std::string(path.begin(), path.end());
    EXPECT_EQ(IsAbsolutePath(path), c.absolute) << std::string(path.begin(), path.end());
    EXPECT_EQ(IsRemovableFolder(path), c.removable) << std::string(path.begin(), path.end());
  }
}

AppFolders Installed() {
  AppFolders f;
  f.programFolder = u"C:\\Program Files\\Vellumio\\";
  f.dataFolder = u"C:\\Users\\ann\\Documents\\";
  f.backupFolder = u"C:\\Users\\ann\\AppData\\Roaming\\Vellumio\\Backup\\";
  f.helpFolder = u"C:\\Program Files\\Vellumio\\Help\\";
  f.languagesFolder = u"C:\\Program Files\\Vellumio\\Languages\\";
  f.schemesFolder = u"C:\\Program Files\\Vellumio\\Schemes\\";
  f.userDataFolder = u"C:\\Users\\ann\\AppData\\Roaming\\Vellumio\\";
  return f;
}

TEST(RemovalPlan, FoldersInOrderWithoutRootsOrFoldersHoldingUserFiles) {
  const AppFolders f = Installed();
  EXPECT_EQ(RemovalFolders(f), (std::vector<std::u16string>{f.helpFolder, f.userDataFolder,
                                                            f.languagesFolder, f.schemesFolder}));
  AppFolders bad = f;
  bad.helpFolder = u"";                        // never set
  bad.userDataFolder = u"C:\\Users\\ann\\";    // holds the documents
  bad.languagesFolder = u"C:\\Program Files\\";  // holds the program
  bad.schemesFolder = u"E:\\";
  EXPECT_TRUE(RemovalFolders(bad).empty());
}

TEST(RemovalPlan, ItemsMayGoOnlyStrictlyBelowTheirRemovableRoot) {
  const std::u16string root = u"C:\\Users\\ann\\AppData\\Roaming\\Vellumio\\";
  const struct {
    const char16_t* root;
    const char16_t* item;
    bool may;
  } cases[] = {
      {root.c_str(), u"C:\\Users\\ann\\AppData\\Roaming\\Vellumio\\Backup", true},
      {root.c_str(), u"c:/users/ANN/appdata/roaming/vellumio/Backup/notes.sbn0", true},
      {root.c_str(), u"C:\\Users\\ann\\AppData\\Roaming\\Vellumio", false},
      {root.c_str(), u"C:\\Users\\ann\\AppData\\Roaming\\Vellumio2\\x", false},
      {root.c_str(), u"C:\\Users\\ann\\AppData\\Roaming\\Vellumio\\..\\x", false},
      {root.c_str(), u"Vellumio\\Backup", false},
      {u"C:\\", u"C:\\Windows", false},
      {u"", u"C:\\Windows", false},
  };
  for (const auto& c : cases) {
    const std::u16string item = c.item;
    EXPECT_EQ(MayDeleteBelow(c.root, item), c.may) << std::string(item.begin(), item.end());
  }
}

}  // namespace
}  // namespace vellumio
