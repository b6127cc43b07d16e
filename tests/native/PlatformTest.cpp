// The contract of platform/Platform.h. These tests run natively against the
// POSIX layer and, inside vellumio_win_tests.exe, against the Win32 layer;
// the few expectations that differ between the two are marked.
#include "platform/Platform.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
namespace platform = vellumio::platform;

namespace {

using vellumio::test::Entries;
using vellumio::test::ErrorOf;
using vellumio::test::ReadAll;
using vellumio::test::TempFolder;
using vellumio::test::WriteText;



// 2020-06-15 13:14:15.250 and 2021-01-02 03:04:05.000 as date-times
// (43997 is 2020-06-15; 44198 is 2021-01-02).
const double kSummer = 43997.0 + (13 * 3600 + 14 * 60 + 15.25) / 86400.0;
const double kWinter = 44198.0 + (3 * 3600 + 4 * 60 + 5) / 86400.0;
constexpr double kOneMs = 1.0 / 86400000.0;

bool AnsiIsWindows1252() { return platform::FromAnsi("\x80") == u"\u20AC"; }

}  // namespace

// ---- Code page ------------------------------------------------------------------

TEST(PlatformAnsi, DecodesWindows1252) {
  if (!AnsiIsWindows1252()) GTEST_SKIP() << "the ANSI code page is not 1252";
  struct Case {
    unsigned char byte;
    char16_t unit;
  };
  // The high half of 1252 and its five undefined bytes, which Windows maps to
  // the C1 controls of the same value.
  const Case cases[] = {{0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192},
                        {0x85, 0x2026}, {0x8A, 0x0160}, {0x8C, 0x0152}, {0x8D, 0x008D},
                        {0x8E, 0x017D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018},
                        {0x93, 0x201C}, {0x96, 0x2013}, {0x97, 0x2014}, {0x99, 0x2122},
                        {0x9C, 0x0153}, {0x9D, 0x009D}, {0x9F, 0x0178}, {0xA0, 0x00A0},
                        {0xC4, 0x00C4}, {0xDF, 0x00DF}, {0xFF, 0x00FF}};
  for (const Case& c : cases) {
    const std::string byte(1, static_cast<char>(c.byte));
    EXPECT_EQ(platform::FromAnsi(byte), std::u16string(1, c.unit)) << "byte " << int(c.byte);
    EXPECT_EQ(platform::ToAnsi(std::u16string(1, c.unit)), byte) << "byte " << int(c.byte);
  }
}

TEST(PlatformAnsi, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string wide = platform::FromAnsi(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(platform::ToAnsi(wide), all);
  // Distinct bytes stay distinct characters.
  EXPECT_EQ(std::set<char16_t>(wide.begin(), wide.end()).size(), 256u);
}

TEST(PlatformAnsi, UnmappableCharactersBecomeQuestionMarks) {
  if (!AnsiIsWindows1252()) GTEST_SKIP() << "the ANSI code page is not 1252";
  const struct {
    std::u16string text;
    std::string ansi;
  } cases[] = {
      {u"", ""},
      {u"plain ASCII", "plain ASCII"},
      {u"\u65E5\u672C", "??"},    // CJK
      {u"A\u0100B", "A?B"},       // no best-fit 'A' for A-macron
      {u"\u0416x", "?x"},         // Cyrillic
      {u"\u20AC 5", "\x80 5"},    // the euro sign is in the code page
      {u"a\U0001F600b", "a??b"},  // each half of a surrogate pair
      {std::u16string(u"a\xD800"
                      "b"),
       "a?b"},  // a lone surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(platform::ToAnsi(c.text), c.ansi);
}

TEST(PlatformAnsi, EmbeddedNulsAreKept) {
  const std::string bytes("a\0b", 3);
  EXPECT_EQ(platform::FromAnsi(bytes), std::u16string(u"a\0b", 3));
  EXPECT_EQ(platform::ToAnsi(std::u16string(u"a\0b", 3)), bytes);
}

// ---- Case mapping -------------------------------------------------------------------

TEST(PlatformCase, MapsNonAsciiLetters) {
  const struct {
    std::u16string lower, upper;
  } cases[] = {
      {u"hello, world 42!", u"HELLO, WORLD 42!"},
      {u"\u00E4\u00F6\u00FC\u00E0\u00E9\u00EE\u00F5\u00E7",
       u"\u00C4\u00D6\u00DC\u00C0\u00C9\u00CE\u00D5\u00C7"},
      {u"\u00FF", u"\u0178"},                          // y-diaeresis leaves Latin-1
      {u"\u0153\u0161\u017E", u"\u0152\u0160\u017D"},  // Latin Extended-A
      {u"\u03B1\u03B2\u03B3", u"\u0391\u0392\u0393"},  // Greek
      {u"\u0434\u0436\u044F", u"\u0414\u0416\u042F"},  // Cyrillic
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::UpperCase(c.lower), c.upper);
    EXPECT_EQ(platform::LowerCase(c.upper), c.lower);
  }
}

TEST(PlatformCase, KeepsLengthAndUncasedCharacters) {
  const std::u16string uncased = u"123 !?\u65E5\u672C\u20AC";
  EXPECT_EQ(platform::UpperCase(uncased), uncased);
  EXPECT_EQ(platform::LowerCase(uncased), uncased);
  EXPECT_EQ(platform::UpperCase(u""), u"");
  // A NUL inside the text does not end the mapping.
  EXPECT_EQ(platform::UpperCase(std::u16string(u"a\0b", 3)), std::u16string(u"A\0B", 3));
}

TEST(PlatformCase, LeavesSurrogatesAlone) {
  // U+10428 has an upper-case form, but the mapping works per code unit.
  const std::u16string deseret = u"x\U00010428y";
  EXPECT_EQ(platform::UpperCase(deseret), u"X\U00010428Y");
}

// ---- Locale -------------------------------------------------------------------------

#ifndef _WIN32
TEST(PlatformLocale, NativeBuildReportsUnitedStatesConventions) {
  const platform::LocaleFormats f = platform::ReadLocaleFormats();
  EXPECT_EQ(f.shortDatePicture, u"M/d/yyyy");
  EXPECT_EQ(f.longDatePicture, u"dddd, MMMM d, yyyy");
  EXPECT_EQ(f.shortTimePicture, u"h:mm tt");
  EXPECT_EQ(f.longTimePicture, u"h:mm:ss tt");
  EXPECT_EQ(f.timeAMString, u"AM");
  EXPECT_EQ(f.timePMString, u"PM");
  EXPECT_EQ(f.dateSeparator, u'/');
  EXPECT_EQ(f.timeSeparator, u':');
  EXPECT_EQ(f.longMonthNames[0], u"January");
  EXPECT_EQ(f.longMonthNames[8], u"September");
  EXPECT_EQ(f.shortMonthNames[8], u"Sep");
  EXPECT_EQ(f.shortMonthNames[11], u"Dec");
  EXPECT_EQ(f.longDayNames[0], u"Sunday");
  EXPECT_EQ(f.longDayNames[3], u"Wednesday");
  EXPECT_EQ(f.shortDayNames[6], u"Sat");
}
#endif

// ---- Clock --------------------------------------------------------------------------

TEST(PlatformClock, LocalNowAgreesWithSystemClockAndBias) {
  using namespace std::chrono;
  const double unixSeconds =
      duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() / 1000.0;
  const double expected = 25569.0 + (unixSeconds - platform::TimeZoneBiasSeconds()) / 86400.0;
  EXPECT_NEAR(platform::LocalNow(), expected, 2.0 / 86400.0);
}

TEST(PlatformClock, LocalNowKeepsMilliseconds) {
  // Twenty readings that all fall on whole seconds would mean the fraction
  // of the second is lost.
  // The readings are a few milliseconds apart, so that they cannot all fall
  // into the one millisecond that starts a second.
  bool fraction = false;
  for (int i = 0; i < 20 && !fraction; ++i) {
    if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(3));
    const double seconds = platform::LocalNow() * 86400.0;
    fraction = std::fabs(seconds - std::round(seconds)) > 0.0005;
  }
  EXPECT_TRUE(fraction);
}

TEST(PlatformClock, BiasIsAPlausibleOffset) {
  const int32_t bias = platform::TimeZoneBiasSeconds();
  EXPECT_LE(std::abs(bias), 14 * 3600);
  EXPECT_EQ(bias % 900, 0);
}

#ifndef _WIN32
namespace {
// Switches the process's time zone for one test (POSIX rule strings need no
// time-zone database).
class ScopedTimeZone {
public:
  explicit ScopedTimeZone(const char* tz) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (had_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

private:
  bool had_ = false;
  std::string old_;
};
}  // namespace

TEST(PlatformClock, BiasFollowsTheTimeZone) {
  {
    ScopedTimeZone tz("XST5");
    EXPECT_EQ(platform::TimeZoneBiasSeconds(), 5 * 3600);
  }
  {
    ScopedTimeZone tz("XST-5:30");
    EXPECT_EQ(platform::TimeZoneBiasSeconds(), -(5 * 3600 + 30 * 60));
  }
}

TEST(PlatformFiles, FileTimesUseTheDaylightRuleOfTheirDate) {
  ScopedTimeZone tz("EST5EDT,M3.2.0,M11.1.0");
  TempFolder folder;
  WriteText(folder.Path("f.txt"), "x");
  const std::u16string path = folder.U("f.txt");
  // 2021-07-01 12:00 local is 16:00 UTC (daylight time); 2021-01-15 12:00
  // local is 17:00 UTC.
  const struct {
    double local;
    time_t utc;
  } cases[] = {{44378.5, 1625155200}, {44211.5, 1610730000}};
  for (const auto& c : cases) {
    platform::SetFileModifiedTime(path, c.local);
    struct stat st {};
    ASSERT_EQ(stat(folder.Path("f.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, c.utc);
    EXPECT_NEAR(platform::FileModifiedTime(path).value(), c.local, kOneMs / 2);
  }
}
#endif

// ---- Files --------------------------------------------------------------------------

TEST(PlatformFiles, TellsFilesFromFolders) {
  TempFolder folder;
  WriteText(folder.Path("note.txt"), "x");
  EXPECT_TRUE(platform::FileExists(folder.U("note.txt")));
  EXPECT_FALSE(platform::DirectoryExists(folder.U("note.txt")));
  EXPECT_TRUE(platform::DirectoryExists(folder.U()));
  EXPECT_FALSE(platform::FileExists(folder.U()));
  EXPECT_FALSE(platform::FileExists(folder.U("missing")));
  EXPECT_FALSE(platform::DirectoryExists(folder.U("missing")));
  EXPECT_FALSE(platform::FileExists(u""));
  EXPECT_FALSE(platform::DirectoryExists(u""));
}

TEST(PlatformFiles, ModifiedTimeRoundTripsToTheMillisecond) {
  TempFolder folder;
  WriteText(folder.Path("f.txt"), "x");
  const std::u16string path = folder.U("f.txt");
  for (double when : {kSummer, kWinter, 36526.0 /* 2000-01-01 */}) {
    platform::SetFileModifiedTime(path, when);
    const std::optional<double> read = platform::FileModifiedTime(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_NEAR(*read, when, kOneMs / 2);
  }
}

TEST(PlatformFiles, NewFileIsStampedWithTheCurrentLocalTime) {
  TempFolder folder;
  WriteText(folder.Path("f.txt"), "x");
  const std::optional<double> stamp = platform::FileModifiedTime(folder.U("f.txt"));
  ASSERT_TRUE(stamp.has_value());
  EXPECT_NEAR(*stamp, platform::LocalNow(), 5.0 / 86400.0);
}

TEST(PlatformFiles, MissingFileHasNoTimeAndCannotBeStamped) {
  TempFolder folder;
  EXPECT_FALSE(platform::FileModifiedTime(folder.U("missing")).has_value());
  EXPECT_THROW(platform::SetFileModifiedTime(folder.U("missing"), kSummer), std::runtime_error);
}

TEST(PlatformFiles, ForceDirectoriesCreatesEveryMissingParent) {
  TempFolder folder;
  const fs::path deep = folder.Path("a") / "b" / "c";
  platform::ForceDirectories(deep.u16string());
  EXPECT_TRUE(fs::is_directory(deep));
  platform::ForceDirectories(deep.u16string());           // again: nothing to do
  platform::ForceDirectories(deep.u16string() + u"/d/");  // trailing separator
  EXPECT_TRUE(fs::is_directory(deep / "d"));
}

TEST(PlatformFiles, ForceDirectoriesFailsOnAFileInThePath) {
  TempFolder folder;
  WriteText(folder.Path("blocker"), "x");
  const std::string error =
      ErrorOf([&] { platform::ForceDirectories((folder.Path("blocker") / "sub").u16string()); });
  EXPECT_NE(error.find("blocker"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(folder.Path("blocker")), "x");
}

TEST(PlatformFiles, ExtractFileDir) {
  const struct {
    std::u16string path, dir;
  } cases[] = {
      {u"notes.sbn", u""},
      {u"data/notes.sbn", u"data"},
      {u"data\\notes.sbn", u"data"},
      {u"a/b\\c/notes.sbn", u"a/b\\c"},
      {u"data/", u"data"},
      {u"data//notes.sbn", u"data"},
#ifdef _WIN32
      {u"C:\\Users\\me\\notes.sbn", u"C:\\Users\\me"},
      {u"C:\\notes.sbn", u"C:\\"},
      {u"C:notes.sbn", u"C:"},
      {u"\\notes.sbn", u"\\"},
      {u"\\\\server\\share\\notes.sbn", u"\\\\server\\share"},
#else
      {u"/home/me/notes.sbn", u"/home/me"},
      {u"/notes.sbn", u"/"},
#endif
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ExtractFileDir(c.path), c.dir) << std::string(c.path.begin(), c.path.end());
  }
}

TEST(PlatformFiles, ReaderReadsTheWholeFileInPieces) {
  TempFolder folder;
  std::string content;
  for (int i = 0; i < 10000; ++i) content.push_back(static_cast<char>(i * 7));
  WriteText(folder.Path("data.bin"), content);
  auto reader = platform::OpenForReading(folder.U("data.bin"));
  EXPECT_EQ(reader->Size(), content.size());
  std::string read;
  char buffer[4096];
  for (size_t n; (n = reader->Read(buffer, sizeof buffer)) > 0;) read.append(buffer, n);
  EXPECT_EQ(read, content);
  EXPECT_EQ(reader->Read(buffer, sizeof buffer), 0u);
}

TEST(PlatformFiles, ReaderNamesTheReasonAndThePath) {
  TempFolder folder;
  fs::create_directories(folder.Path("sub"));
  const std::string missing = ErrorOf([&] { platform::OpenForReading(folder.U("missing.sbn")); });
  EXPECT_NE(missing.find("File not found"), std::string::npos) << missing;
  EXPECT_NE(missing.find("missing.sbn"), std::string::npos) << missing;
  const std::string inMissingFolder =
      ErrorOf([&] { platform::OpenForReading(folder.U("nowhere/x.sbn")); });
  EXPECT_NE(inMissingFolder.find("File not found"), std::string::npos) << inMissingFolder;
  const std::string isFolder = ErrorOf([&] { platform::OpenForReading(folder.U("sub")); });
  EXPECT_NE(isFolder.find("Is a folder"), std::string::npos) << isFolder;
}

TEST(PlatformFiles, WriteReplacingCreatesAndReplaces) {
  TempFolder folder;
  const std::u16string path = folder.U("notes.sbn");
  const std::string first = "a longer first version of the file";
  platform::WriteFileReplacing(path, first.data(), first.size());
  EXPECT_EQ(ReadAll(folder.Path("notes.sbn")), first);
  const std::string second = "short";
  platform::WriteFileReplacing(path, second.data(), second.size());
  EXPECT_EQ(ReadAll(folder.Path("notes.sbn")), second);
  platform::WriteFileReplacing(path, "", 0);
  EXPECT_TRUE(fs::exists(folder.Path("notes.sbn")));
  EXPECT_EQ(fs::file_size(folder.Path("notes.sbn")), 0u);
  EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"notes.sbn"});
}

TEST(PlatformFiles, WriteReplacingCreatesMissingFolders) {
  TempFolder folder;
  const fs::path target = folder.Path("x") / "y" / "notes.sbn";
  platform::WriteFileReplacing(target.u16string(), "abc", 3);
  EXPECT_EQ(ReadAll(target), "abc");
}

TEST(PlatformFiles, WriteReplacingHandlesUnicodeNames) {
  TempFolder folder;
  const fs::path target = folder.Path() / fs::path(u"Zitate \u00FC \u65E5\u672C.sbn");
  platform::WriteFileReplacing(target.u16string(), "abc", 3);
  EXPECT_TRUE(platform::FileExists(target.u16string()));
  auto reader = platform::OpenForReading(target.u16string());
  EXPECT_EQ(reader->Size(), 3u);
}

TEST(PlatformFiles, WriteReplacingFailureLeavesNoTemporaryFile) {
  TempFolder folder;
  // A non-empty folder of that name cannot be replaced by a file.
  fs::create_directories(folder.Path("notes.sbn") / "inside");
  const std::string error =
      ErrorOf([&] { platform::WriteFileReplacing(folder.U("notes.sbn"), "new", 3); });
  EXPECT_NE(error.find("notes.sbn"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(folder.Path("notes.sbn") / "inside"));
  EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"notes.sbn"});
}

TEST(PlatformFiles, WriteReplacingFailsWhenTheFolderCannotExist) {
  TempFolder folder;
  WriteText(folder.Path("blocker"), "old");
  const std::string error = ErrorOf([&] {
    platform::WriteFileReplacing((folder.Path("blocker") / "notes.sbn").u16string(), "new", 3);
  });
  EXPECT_NE(error.find("notes.sbn"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(folder.Path("blocker")), "old");
  EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"blocker"});
}

#ifndef _WIN32
TEST(PlatformFiles, WriteReplacingInAReadOnlyFolderLeavesTheTargetIntact) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
  TempFolder folder;
  const fs::path sub = folder.Path("ro");
  fs::create_directories(sub);
  WriteText(sub / "notes.sbn", "old");
  fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec);
  const std::string error =
      ErrorOf([&] { platform::WriteFileReplacing((sub / "notes.sbn").u16string(), "new", 3); });
  fs::permissions(sub, fs::perms::owner_all);
  EXPECT_NE(error.find("temporary file"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(sub / "notes.sbn"), "old");
  EXPECT_EQ(Entries(sub), std::set<std::string>{"notes.sbn"});
}

TEST(PlatformFiles, WriteReplacingDoesNotDeleteAForeignTemporaryName) {
  // The temporary name is taken by a folder: the save fails before touching
  // anything, and the folder stays.
  TempFolder folder;
  WriteText(folder.Path("notes.sbn"), "old");
  const std::string tempName = "notes.sbn.tmp-" + std::to_string(getpid());
  fs::create_directories(folder.Path(tempName));
  EXPECT_THROW(platform::WriteFileReplacing(folder.U("notes.sbn"), "new", 3), std::runtime_error);
  EXPECT_EQ(ReadAll(folder.Path("notes.sbn")), "old");
  EXPECT_TRUE(fs::is_directory(folder.Path(tempName)));
}
#endif
