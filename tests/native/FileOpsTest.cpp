// The file operations of the saver and the backups, on real files (under
// Wine in the Windows test program).
#include <gtest/gtest.h>

#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

using test::ErrorOf;
using test::ReadAll;
using test::WriteText;

struct FileOpsFixture : ::testing::Test {
  test::TempFolder tmp;
};

TEST_F(FileOpsFixture, CopyReplacesTheTargetAndKeepsTheSourceTime) {
  WriteText(tmp.Path("a"), std::string(3 << 20, 'x') + "end");  // more than one buffer
  WriteText(tmp.Path("b"), "older and longer content");
  platform::SetFileModifiedTime(tmp.U("a"), 46000.25);
  platform::CopyFileReplacing(tmp.U("a"), tmp.U("b"));
  EXPECT_EQ(ReadAll(tmp.Path("b")), ReadAll(tmp.Path("a")));
  EXPECT_NEAR(*platform::FileModifiedTime(tmp.U("b")), 46000.25, 1.0 / 86400);
  EXPECT_NE(ErrorOf([&] { platform::CopyFileReplacing(tmp.U("missing"), tmp.U("c")); }),
            "(no error)");
  EXPECT_FALSE(platform::FileExists(tmp.U("c")));
}

TEST_F(FileOpsFixture, RenameRefusesAnExistingTarget) {
  WriteText(tmp.Path("a"), "a");
  WriteText(tmp.Path("b"), "b");
  const std::string error = ErrorOf([&] { platform::RenameFile(tmp.U("a"), tmp.U("b")); });
  EXPECT_NE(error, "(no error)");
  EXPECT_NE(error.find("\""), std::string::npos) << "names the path: " << error;
  EXPECT_EQ(ReadAll(tmp.Path("a")), "a");
  EXPECT_EQ(ReadAll(tmp.Path("b")), "b");
  platform::RenameFile(tmp.U("a"), tmp.U("c"));
  EXPECT_FALSE(platform::FileExists(tmp.U("a")));
  EXPECT_EQ(ReadAll(tmp.Path("c")), "a");
}

TEST_F(FileOpsFixture, DeleteAndSize) {
  EXPECT_NO_THROW(platform::DeleteFileIfExists(tmp.U("missing")));
  WriteText(tmp.Path("a"), "12345");
  EXPECT_EQ(platform::FileSize(tmp.U("a")), 5u);
  EXPECT_EQ(platform::FileSize(tmp.U("missing")), std::nullopt);
  EXPECT_EQ(platform::FileSize(tmp.U()), std::nullopt) << "a folder has no file size";
  platform::DeleteFileIfExists(tmp.U("a"));
  EXPECT_FALSE(platform::FileExists(tmp.U("a")));
}

TEST_F(FileOpsFixture, CreateTruncatesAndWriteFlushCloseLeaveExactlyTheBytes) {
  WriteText(tmp.Path("f"), std::string(1000, 'o'));
  auto file = platform::CreateOrTruncate(tmp.U("f"));
  file->Write("new", 3);
  file->Write(" bytes", 6);
  file->Flush();
  file->Close();
  EXPECT_EQ(ReadAll(tmp.Path("f")), "new bytes");
  EXPECT_THROW(file->Write("x", 1), std::runtime_error) << "written after Close";
  EXPECT_THROW(platform::CreateOrTruncate(tmp.U("no/such/folder/f")), std::runtime_error);
  EXPECT_THROW(platform::CreateOrTruncate(tmp.U()), std::runtime_error) << "a folder";
}

TEST_F(FileOpsFixture, MoveReplacesTheTarget) {
  WriteText(tmp.Path("new"), "new");
  WriteText(tmp.Path("old"), "old");
  platform::MoveFileReplacing(tmp.U("new"), tmp.U("old"));
  EXPECT_EQ(ReadAll(tmp.Path("old")), "new");
  EXPECT_FALSE(platform::FileExists(tmp.U("new")));
  const std::string error =
      ErrorOf([&] { platform::MoveFileReplacing(tmp.U("gone"), tmp.U("old")); });
  EXPECT_NE(error, "(no error)");
  EXPECT_EQ(ReadAll(tmp.Path("old")), "new");
}

}  // namespace
}  // namespace vellumio
