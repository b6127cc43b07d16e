// The saver's file steps against what Windows (here Wine) really does when
// another program holds the database file: the move is refused with a
// sharing violation or access denied, tried again for about a second, and
// the database file stays untouched until it succeeds.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/FileOps.h"
#include "store/SaverFileSystem.h"
#include "store/SnapshotWriter.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

using test::ReadAll;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// Another program that opens the file without sharing it.
class Holder {
public:
  explicit Holder(const std::u16string& path)
      : h_(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ, 0, nullptr,
                       OPEN_EXISTING, 0, nullptr)) {}
  ~Holder() { Close(); }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

private:
  HANDLE h_;
};

struct SaverWinFixture : ::testing::Test {
  test::TempFolder tmp;
  std::u16string db = tmp.U("notes.sbn");
  SaverWinFixture() { test::WriteText(tmp.Path("notes.sbn"), "previous"); }
};

TEST_F(SaverWinFixture, MovingOntoAHeldFileReportsABusyFile) {
  test::WriteText(tmp.Path("new"), "new");
  Holder holder(db);
  ASSERT_TRUE(holder.Valid());
  EXPECT_THROW(platform::MoveFileReplacing(tmp.U("new"), db), platform::FileBusyError);
  holder.Close();
  EXPECT_EQ(ReadAll(tmp.Path("notes.sbn")), "previous");
}

TEST_F(SaverWinFixture, AFileHeldForAMomentIsReplacedAfterAll) {
  auto holder = std::make_unique<Holder>(db);
  ASSERT_TRUE(holder->Valid());
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    holder->Close();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NO_THROW(WriteSnapshotFile(RealSaverFileSystem(), db, Bytes("saved")));
  release.join();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_EQ(ReadAll(tmp.Path("notes.sbn")), "saved");
}

TEST_F(SaverWinFixture, AFileHeldTooLongFailsTheSaveAndStaysUntouched) {
  Holder holder(db);
  ASSERT_TRUE(holder.Valid());
  const auto start = std::chrono::steady_clock::now();
  const std::string error =
      test::ErrorOf([&] { WriteSnapshotFile(RealSaverFileSystem(), db, Bytes("saved")); });
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_NE(error.find("replacing the database file"), std::string::npos) << error;
  EXPECT_GE(took, std::chrono::milliseconds(800)) << "gave up too soon";
  EXPECT_LE(took, std::chrono::milliseconds(3000)) << "kept the user waiting";
  holder.Close();
  EXPECT_EQ(ReadAll(tmp.Path("notes.sbn")), "previous");
}

// The temporary file is opened by nobody else while it is written.
TEST_F(SaverWinFixture, TheTemporaryFileIsNotSharedWhileOpen) {
  auto file = platform::CreateOrTruncate(tmp.U("notes.$sbn"));
  Holder other(tmp.U("notes.$sbn"));
  EXPECT_FALSE(other.Valid());
  file->Close();
  Holder after(tmp.U("notes.$sbn"));
  EXPECT_TRUE(after.Valid());
}

}  // namespace
}  // namespace vellumio
