// What only the Win32 platform layer does: the system code page, the
// locale as the system reports it, file times through FILETIME, and the
// ways Windows can refuse to replace a file.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

#include "platform/Platform.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;
namespace platform = vellumio::platform;

namespace {

using vellumio::test::Entries;
using vellumio::test::ErrorOf;
using vellumio::test::ReadAll;
using vellumio::test::WriteText;

// A fresh folder for one test, removed afterwards.
struct TempFolder : vellumio::test::TempFolder {
  TempFolder() : vellumio::test::TempFolder("vellumio-win-") {}
};


const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }



class Handle {
public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
  HANDLE h_;
};

// Opens a file the way another program holding it would.
Handle OpenShared(const std::u16string& path, DWORD share) {
  return Handle(CreateFileW(W(path), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A timer-queue callback (stdcall on i686, so it cannot be a lambda).
void CALLBACK CloseHandleLater(void* handle, BOOLEAN) { CloseHandle(static_cast<HANDLE>(handle)); }

bool IsPicture(const std::u16string& picture, const char16_t* letters) {
  for (const char16_t* c = letters; *c; ++c) {
    if (picture.find(*c) == std::u16string::npos) return false;
  }
  return true;
}

}  // namespace

// ---- Code page ------------------------------------------------------------------

TEST(PlatformWinAnsi, AgreesWithTheSystemCodePage) {
  // Every byte of a single-byte code page decodes as the system decodes it.
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  if (info.MaxCharSize != 1) GTEST_SKIP() << "multi-byte ANSI code page " << GetACP();
  for (int b = 1; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    wchar_t expected = 0;
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, &byte, 1, &expected, 1), 1);
    EXPECT_EQ(platform::FromAnsi(std::string(1, byte)), std::u16string(1, expected)) << b;
  }
}

TEST(PlatformWinAnsi, NoBestFitSubstitutes) {
  // Left alone, Windows turns these into look-alikes ("A", "o", "-"); a list
  // name stored that way could no longer be told from the real one.
  if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page " << GetACP();
  EXPECT_EQ(platform::ToAnsi(u"\u0100\u014D\u2212\u221E"), "????");
  EXPECT_EQ(platform::FromAnsi(platform::ToAnsi(u"K\u00F6ln \u20AC")), u"K\u00F6ln \u20AC");
}

// ---- Locale ---------------------------------------------------------------------

TEST(PlatformWinLocale, PicturesAndNamesAreRead) {
  const platform::LocaleFormats f = platform::ReadLocaleFormats();
  EXPECT_TRUE(IsPicture(f.shortDatePicture, u"dMy")) << "short date";
  EXPECT_TRUE(IsPicture(f.longDatePicture, u"dMy")) << "long date";
  EXPECT_TRUE(f.longTimePicture.find_first_of(u"hH") != std::u16string::npos);
  EXPECT_TRUE(IsPicture(f.longTimePicture, u"ms"));
  EXPECT_TRUE(f.shortTimePicture.find_first_of(u"hH") != std::u16string::npos);
  EXPECT_EQ(f.shortTimePicture.find(u's'), std::u16string::npos) << "short time has no seconds";
  EXPECT_NE(f.dateSeparator, u'\0');
  EXPECT_NE(f.timeSeparator, u'\0');
  std::set<std::u16string> months, days;
  for (const auto& m : f.longMonthNames) months.insert(m);
  for (const auto& d : f.longDayNames) days.insert(d);
  EXPECT_EQ(months.size(), 12u);
  EXPECT_EQ(days.size(), 7u);
  EXPECT_FALSE(months.count(u""));
  for (const auto& m : f.shortMonthNames) EXPECT_FALSE(m.empty());
  for (const auto& d : f.shortDayNames) EXPECT_FALSE(d.empty());
}

TEST(PlatformWinLocale, UnitedStatesLocaleAsWindowsReportsIt) {
  if (GetUserDefaultLCID() != 0x0409) GTEST_SKIP() << "user locale " << GetUserDefaultLCID();
  const platform::LocaleFormats f = platform::ReadLocaleFormats();
  EXPECT_EQ(f.shortDatePicture, u"M/d/yyyy");
  EXPECT_EQ(f.longDatePicture, u"dddd, MMMM d, yyyy");
  EXPECT_EQ(f.shortTimePicture, u"h:mm tt");
  EXPECT_EQ(f.longTimePicture, u"h:mm:ss tt");
  EXPECT_EQ(f.timeAMString, u"AM");
  EXPECT_EQ(f.timePMString, u"PM");
  // The week starts on Sunday in the program, on Monday in GetLocaleInfo.
  EXPECT_EQ(f.longDayNames[0], u"Sunday");
  EXPECT_EQ(f.longDayNames[1], u"Monday");
  EXPECT_EQ(f.shortDayNames[6], u"Sat");
  EXPECT_EQ(f.longMonthNames[0], u"January");
  EXPECT_EQ(f.shortMonthNames[11], u"Dec");
}

// ---- Clock and file times ---------------------------------------------------------

TEST(PlatformWinTime, LocalNowMatchesGetLocalTime) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const double now = platform::LocalNow();
  // Days since 1899-12-30 for the SYSTEMTIME's date, computed through
  // FILETIME (100 ns since 1601-01-01, 109205 days before 1899-12-30).
  SYSTEMTIME midnight = st;
  midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
  FILETIME ft{};
  ASSERT_TRUE(SystemTimeToFileTime(&midnight, &ft));
  const double days =
      (static_cast<double>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) /
       864000000000.0) -
      109205.0;
  const double expected =
      days +
      (st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond + st.wMilliseconds / 1000.0) / 86400.0;
  EXPECT_NEAR(now, expected, 2.0 / 86400.0);
}

TEST(PlatformWinTime, ModifiedTimeIsTheFileTimeInLocalTime) {
  TempFolder folder;
  WriteText(folder.Path("f.txt"), "x");
  const std::u16string path = folder.U("f.txt");
  // 2021-07-01 12:00:00.500 local time.
  const double when = 44378.5 + 0.5 / 86400.0;
  platform::SetFileModifiedTime(path, when);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(W(path), GetFileExInfoStandard, &data));
  SYSTEMTIME utc{}, local{};
  ASSERT_TRUE(FileTimeToSystemTime(&data.ftLastWriteTime, &utc));
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
  EXPECT_EQ(local.wYear, 2021);
  EXPECT_EQ(local.wMonth, 7);
  EXPECT_EQ(local.wDay, 1);
  EXPECT_EQ(local.wHour, 12);
  EXPECT_EQ(local.wMinute, 0);
  EXPECT_EQ(local.wSecond, 0);
  EXPECT_EQ(local.wMilliseconds, 500);
  EXPECT_NEAR(platform::FileModifiedTime(path).value(), when, 0.5 / 86400000.0);
}

TEST(PlatformWinTime, FoldersCanBeStamped) {
  TempFolder folder;
  fs::create_directories(folder.Path("sub"));
  platform::SetFileModifiedTime(folder.U("sub"), 44000.25);
  EXPECT_NEAR(platform::FileModifiedTime(folder.U("sub")).value(), 44000.25, 1e-8);
}

TEST(PlatformWinTime, DatesBeforeFileTimesBeganAreRefused) {
  TempFolder folder;
  WriteText(folder.Path("f.txt"), "x");
  EXPECT_THROW(platform::SetFileModifiedTime(folder.U("f.txt"), -200000.0), std::runtime_error);
}

// ---- Replacing files ----------------------------------------------------------------

TEST(PlatformWinFiles, ReplacingAFileHeldWithoutDeleteSharingFailsCleanly) {
  TempFolder folder;
  WriteText(folder.Path("notes.sbn"), "old");
  Handle holder = OpenShared(folder.U("notes.sbn"), FILE_SHARE_READ);
  ASSERT_TRUE(holder.Valid());
  const DWORD start = GetTickCount();
  const std::string error =
      ErrorOf([&] { platform::WriteFileReplacing(folder.U("notes.sbn"), "new", 3); });
  EXPECT_NE(error.find("replacing the file"), std::string::npos) << error;
  // It tried again for a while before giving up.
  EXPECT_GE(GetTickCount() - start, 500u);
  EXPECT_EQ(ReadAll(folder.Path("notes.sbn")), "old");
  EXPECT_EQ(Entries(folder.Root()), std::set<std::string>{"notes.sbn"});
}

TEST(PlatformWinFiles, ReplacingSucceedsOnceTheHolderLetsGo) {
  TempFolder folder;
  WriteText(folder.Path("notes.sbn"), "old");
  const std::u16string path = folder.U("notes.sbn");
  // The holder closes the file after 300 ms, within the retry period.
  HANDLE h =
      CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  HANDLE timer = nullptr;
  ASSERT_TRUE(
      CreateTimerQueueTimer(&timer, nullptr, &CloseHandleLater, h, 300, 0, WT_EXECUTEONLYONCE));
  platform::WriteFileReplacing(path, "new", 3);
  DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadAll(folder.Path("notes.sbn")), "new");
  EXPECT_EQ(Entries(folder.Root()), std::set<std::string>{"notes.sbn"});
}

TEST(PlatformWinFiles, ReadOnlyTargetIsNotReplaced) {
  TempFolder folder;
  WriteText(folder.Path("notes.sbn"), "old");
  const std::u16string path = folder.U("notes.sbn");
  ASSERT_TRUE(SetFileAttributesW(W(path), FILE_ATTRIBUTE_READONLY));
  const std::string error = ErrorOf([&] { platform::WriteFileReplacing(path, "new", 3); });
  SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
  EXPECT_NE(error.find("notes.sbn"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(folder.Path("notes.sbn")), "old");
  EXPECT_EQ(Entries(folder.Root()), std::set<std::string>{"notes.sbn"});
}

TEST(PlatformWinFiles, TemporaryNameTakenByAFolderIsLeftAlone) {
  TempFolder folder;
  WriteText(folder.Path("notes.sbn"), "old");
  fs::create_directories(folder.Path("notes.sbn.$tmp"));
  const std::string error =
      ErrorOf([&] { platform::WriteFileReplacing(folder.U("notes.sbn"), "new", 3); });
  EXPECT_NE(error.find("temporary file"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(folder.Path("notes.sbn")), "old");
  EXPECT_TRUE(fs::is_directory(folder.Path("notes.sbn.$tmp")));
}

TEST(PlatformWinFiles, ReaderReportsAFileInUse) {
  TempFolder folder;
  WriteText(folder.Path("locked.sbn"), "x");
  Handle holder = OpenShared(folder.U("locked.sbn"), 0);
  ASSERT_TRUE(holder.Valid());
  const std::string error = ErrorOf([&] { platform::OpenForReading(folder.U("locked.sbn")); });
  EXPECT_NE(error.find("in use"), std::string::npos) << error;
  EXPECT_NE(error.find("locked.sbn"), std::string::npos) << error;
}
