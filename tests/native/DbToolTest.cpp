// vellumio-db run in-process on files written byte by byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "base/DateFormat.h"
#include "base/Utf8.h"
#include "platform/Platform.h"
#include "store/NoteListCollection.h"
#include "tests/support/RecordWriter.h"
#include "tools/vellumio-db/DbCommands.h"
#include "tools/vellumio-db/DbJson.h"

namespace vellumio {
namespace {

namespace fs = std::filesystem;
using testdata::DatabaseImage;
using testdata::ListImage;
using testdata::NoteImage;
using testdata::RecordVersions;
using Bytes = std::vector<uint8_t>;

struct ToolResult {
  int code;
  std::string out;
  std::string err;
};

ToolResult Tool(const std::vector<std::u16string>& args) {
  std::ostringstream out, err;
  int code = RunDbTool(args, out, err);
  return {code, out.str(), err.str()};
}

class TempDir {
public:
  TempDir() {
    static int counter = 0;
    path_ =
        fs::temp_directory_path() /
        ("vellumio-dbtool-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + std::to_string(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::u16string File(const char* name) const { return (path_ / name).u16string(); }
  std::u16string Path() const { return path_.u16string(); }

private:
  fs::path path_;
};

Bytes ReadBytes(const std::u16string& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::u16string& path, const Bytes& bytes) {
  std::ofstream out(fs::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// One list holding a note with every field set and a note with the
// defaults plus text that JSON must escape.
DatabaseImage SampleImage() {
  NoteImage full;
  full.created = 0.1;
  full.text = u"Line 1\r\n\"quoted\"\tcaf\u00e9 \\ end\x01";
  full.subject = u"Subj";
  full.found = 0xFF;
  full.reserved = -5;
  full.uid = 101;
  full.layoutWidth = 320;
  full.lineCount = 4;
  full.reminder.active = 1;
  full.reminder.startTime = 45000.5;
  full.reminder.kind = 2;
  full.reminder.interval = 3;
  full.reminder.intervalUnit = 1;
  full.reminder.runProgram = 0xFF;
  full.reminder.programPath = "C:\\Tools\\run.exe";
  full.reminder.weekdays = {1, 0, 0, 0, 0, 0, 1};
  full.reminder.nextTime = 45001.25;
  full.reminder.repeatSound = 1;

  NoteImage odd;
  odd.created = 45000.5;
  odd.text =
      u"a\xD800"
      u"b\U0001F600";
  odd.uid = 102;

  ListImage list;
  list.name = "Caf\xE9 list";
  list.scheme = "Blue.sch";
  list.colour = 0x123456;
  list.uid = 100;
  list.notes = {full, odd};

  DatabaseImage image;
  image.reserved = {11, -2, 33};
  image.lists = {list};
  return image;
}

const char kSampleJson[] =
    "{\"version\": 4, \"reserved\": [11, -2, 33], \"lists\": [{\"name\": \"Caf\xC3\xA9 list\", "
    "\"scheme\": \"Blue.sch\", \"colour\": 1193046, \"uid\": 100, \"notes\": ["
    "{\"uid\": 101, \"created\": 0.1, \"text\": \"Line 1\\r\\n\\\"quoted\\\"\\tcaf\xC3\xA9 \\\\ "
    "end\\u0001\", "
    "\"subject\": \"Subj\", \"found\": true, \"completed\": false, \"reserved\": -5, "
    "\"layoutWidth\": 320, \"lineCount\": 4, \"reminder\": {\"active\": true, \"startTime\": "
    "45000.5, "
    "\"kind\": 2, \"interval\": 3, \"intervalUnit\": 1, \"reserved1\": 0, \"reserved2\": 5, "
    "\"runProgram\": true, \"programPath\": \"C:\\\\Tools\\\\run.exe\", \"playSound\": false, "
    "\"soundFile\": \"\", \"weekdays\": [true, false, false, false, false, false, true], "
    "\"nextTime\": 45001.25, \"repeatSound\": true}}, "
    "{\"uid\": 102, \"created\": 45000.5, \"text\": \"a\\ud800b\xF0\x9F\x98\x80\", \"subject\": "
    "\"\", "
    "\"found\": false, \"completed\": false, \"reserved\": 0, \"layoutWidth\": 0, \"lineCount\": "
    "3, "
    "\"reminder\": {\"active\": false, \"startTime\": 0, \"kind\": 0, \"interval\": 1, "
    "\"intervalUnit\": 2, \"reserved1\": 0, \"reserved2\": 5, \"runProgram\": false, "
    "\"programPath\": \"\", \"playSound\": false, \"soundFile\": \"\", "
    "\"weekdays\": [false, true, true, true, true, true, false], \"nextTime\": 0, "
    "\"repeatSound\": false}}]}]}\n";

std::u16string WriteSample(const TempDir& dir, const char* name,
                           const RecordVersions& versions = {}) {
  std::u16string path = dir.File(name);
  WriteBytes(path, testdata::WriteDatabase(SampleImage(), versions));
  return path;
}

int32_t StoredDatabaseVersion(const Bytes& file) {
  // After the 2-byte length and the 51 bytes of the header.
  int32_t version = -1;
  if (file.size() >= 57) std::memcpy(&version, file.data() + 53, 4);
  return version;
}

TEST(DbTool, BadArgumentsPrintUsageAndExitTwo) {
  const std::vector<std::vector<std::u16string>> cases = {
      {},
      {u"dump"},
      {u"dump", u"a", u"b"},
      {u"verify"},
      {u"export", u"a"},
      {u"rewrite", u"a"},
      {u"new"},
      {u"new", u"a", u"b"},
      {u"frobnicate", u"a"},
      {u"DUMP", u"a"},
      {u"find"},
  };
  for (const auto& args : cases) {
    ToolResult r = Tool(args);
    EXPECT_EQ(r.code, 2) << args.size();
    EXPECT_NE(r.err.find("usage: vellumio-db"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
  }
}

TEST(DbTool, RefusesToWriteOverItsInput) {
  TempDir dir;
  std::u16string in = WriteSample(dir, "in.sbn");
  Bytes before = ReadBytes(in);
  fs::create_directories(fs::path(dir.File("sub")));
  const std::u16string sameFile[] = {in, dir.Path() + u"/sub/../in.sbn"};
  for (const char16_t* command : {u"rewrite", u"export"}) {
    for (const std::u16string& out : sameFile) {
      ToolResult r = Tool({command, in, out});
      EXPECT_EQ(r.code, 2);
      EXPECT_NE(r.err.find("must not be the input file"), std::string::npos);
    }
  }
  EXPECT_EQ(ReadBytes(in), before);
}

TEST(DbTool, MissingOrUnreadableInputGivesOneLineAndExitOne) {
  TempDir dir;
  const std::u16string missing = dir.File("missing.sbn");
  const std::u16string folder = dir.Path();
  const std::vector<std::vector<std::u16string>> cases = {
      {u"dump", missing},
      {u"verify", missing},
      {u"export", missing, dir.File("o.txt")},
      {u"rewrite", missing, dir.File("o.sbn")},
      {u"dump", folder},
      {u"verify", folder},
      {u"rewrite", folder, dir.File("o.sbn")},
  };
  for (const auto& args : cases) {
    ToolResult r = Tool(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.rfind("vellumio-db: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  EXPECT_FALSE(fs::exists(fs::path(dir.File("o.sbn"))));
  EXPECT_FALSE(fs::exists(fs::path(dir.File("o.txt"))));
}

TEST(DbTool, DumpPrintsEveryFieldOfAHandBuiltFile) {
  TempDir dir;
  ToolResult r = Tool({u"dump", WriteSample(dir, "sample.sbn")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, kSampleJson);
  EXPECT_TRUE(r.err.empty());
}

TEST(DbTool, DumpShowsTheStoredVersionOfOlderFiles) {
  TempDir dir;
  for (int32_t version : {0, 1, 2, 3}) {
    RecordVersions v;
    v.database = version;
    ToolResult r = Tool({u"dump", WriteSample(dir, "old.sbn", v)});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(
        r.out.rfind("{\"version\": " + std::to_string(version) + ", \"reserved\": [0, 0, 0]", 0),
        0u)
        << r.out.substr(0, 60);
  }
}

TEST(DbJson, StringsEscapeControlsQuotesAndLoneSurrogates) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"", "\"\""},
      {u"plain", "\"plain\""},
      {u"\"\\/", "\"\\\"\\\\/\""},
      {u"\b\f\n\r\t\x1f\x7f", "\"\\b\\f\\n\\r\\t\\u001f\x7f\""},
      {std::u16string(1, u'\0'), "\"\\u0000\""},
      {u"\u00e9\u20ac", "\"\xC3\xA9\xE2\x82\xAC\""},
      {u"\U0001F600", "\"\xF0\x9F\x98\x80\""},
      {u"x\xD83D", "\"x\\ud83d\""},                            // high surrogate at the end
      {u"\xDE00y", "\"\\ude00y\""},                            // low surrogate first
      {u"\xD83D\xD83D\xDE00", "\"\\ud83d\xF0\x9F\x98\x80\""},  // lone high, then a pair
  };
  for (const auto& [text, json] : cases) {
    std::string out;
    dbjson::AppendString(out, text);
    EXPECT_EQ(out, json);
  }
}

TEST(DbJson, NumbersAreTheShortestFormThatReadsBack) {
  const std::pair<double, const char*> cases[] = {
      {0.1, "0.1"},
      {45000.5, "45000.5"},
      {44927, "44927"},
      {0, "0"},
      {-1.25, "-1.25"},
      {1.0 / 3, "0.3333333333333333"},
      {1e300, "1e+300"},
      {std::numeric_limits<double>::quiet_NaN(), "null"},
      {std::numeric_limits<double>::infinity(), "null"},
  };
  for (const auto& [value, text] : cases) {
    std::string out;
    dbjson::AppendNumber(out, value);
    EXPECT_EQ(out, text);
  }
}

TEST(DbTool, VerifyAcceptsGoodFilesAndReportsTheReasonForBadOnes) {
  TempDir dir;
  ToolResult good = Tool({u"verify", WriteSample(dir, "good.sbn")});
  EXPECT_EQ(good.code, 0);
  EXPECT_TRUE(good.out.empty() && good.err.empty());

  // Offsets in a file of the current versions: the header's length and 51
  // bytes, then version, LastUID, list count, list version, note count.
  constexpr size_t kFirstNote = 2 + 51 + 4 * 5;
  constexpr size_t kNoteText = kFirstNote + 4 + 8;
  Bytes file = testdata::WriteDatabase(SampleImage());
  struct BadCase {
    const char* name;
    Bytes bytes;
    std::string reason;
  };
  std::vector<BadCase> cases;
  cases.push_back({"cut-version.sbn", Bytes(file.begin(), file.begin() + 55), "Stream read error"});
  Bytes wrongVersion = file;
  wrongVersion[53] = 5;
  cases.push_back({"v5.sbn", wrongVersion, "Wrong database version."});
  Bytes noteVersion = file;
  noteVersion[kFirstNote] = 9;
  cases.push_back({"note9.sbn", noteVersion, "Unknown note item version"});

  // A note with empty text: its reminder record follows the empty text,
  // the two markers and Reserved.
  ListImage list;
  list.notes.resize(1);
  DatabaseImage one;
  one.lists = {list};
  Bytes reminder = testdata::WriteDatabase(one);
  reminder[kNoteText + 2 + 1 + 1 + 4] = 3;
  cases.push_back({"reminder3.sbn", reminder, "Unknown reminder task version"});

  for (const BadCase& c : cases) {
    std::u16string path = dir.File(c.name);
    WriteBytes(path, c.bytes);
    ToolResult r = Tool({u"verify", path});
    EXPECT_EQ(r.code, 1) << c.name;
    EXPECT_EQ(r.err, "vellumio-db: Database read error: " + c.reason + "\n") << c.name;
  }

  // Files cut anywhere: the reason depends on where, but there always is one.
  for (size_t length : {size_t{0}, size_t{1}, size_t{53}, kFirstNote + 2, kNoteText + 5,
                        file.size() / 2, file.size() - 4 - 12 - 2}) {
    std::u16string path = dir.File("cut.sbn");
    WriteBytes(path, Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)));
    ToolResult r = Tool({u"verify", path});
    EXPECT_EQ(r.code, 1) << length;
    const std::string prefix = "vellumio-db: Database read error: ";
    EXPECT_EQ(r.err.rfind(prefix, 0), 0u) << r.err;
    EXPECT_GT(r.err.size(), prefix.size() + 1) << length;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

TEST(DbTool, RewriteUpgradesOlderRecordsAndLeavesTheInputAlone) {
  // Versions whose records keep every identity, so that the dumps of input
  // and output agree apart from the database version.
  const RecordVersions cases[] = {
      {2, 2, 4, 1}, {3, 3, 6, 2}, {3, 2, 7, 1}, {4, 3, 8, 2}, {2, 3, 4, 2},
  };
  TempDir dir;
  for (const RecordVersions& v : cases) {
    std::u16string in = WriteSample(dir, "old.sbn", v), out = dir.File("new.sbn");
    Bytes before = ReadBytes(in);
    ToolResult r = Tool({u"rewrite", in, out});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadBytes(in), before);
    EXPECT_EQ(StoredDatabaseVersion(ReadBytes(out)), 4);

    std::string oldJson = Tool({u"dump", in}).out, newJson = Tool({u"dump", out}).out;
    std::string prefix = "{\"version\": " + std::to_string(v.database);
    ASSERT_EQ(oldJson.rfind(prefix, 0), 0u);
    EXPECT_EQ("{\"version\": 4" + oldJson.substr(prefix.size()), newJson)
        << v.database << v.list << v.note;
  }
}

TEST(DbTool, RewriteOfACurrentFileKeepsEveryByteAfterTheHeader) {
  TempDir dir;
  std::u16string in = WriteSample(dir, "in.sbn"), out = dir.File("deeper/folder/out.sbn");
  ASSERT_EQ(Tool({u"rewrite", in, out}).code, 0);
  Bytes a = ReadBytes(in), b = ReadBytes(out);
  ASSERT_EQ(a.size(), b.size());
  EXPECT_TRUE(std::equal(a.begin() + 53, a.end(), b.begin() + 53));
}

TEST(DbTool, RewriteGivesFreshIdentitiesToNotesThatHadNone) {
  TempDir dir;
  RecordVersions v{0, 0, 0, 2};
  std::u16string in = WriteSample(dir, "v0.sbn", v), out = dir.File("v4.sbn");
  ASSERT_EQ(Tool({u"rewrite", in, out}).code, 0);
  std::string json = Tool({u"dump", out}).out;
  EXPECT_EQ(json.rfind("{\"version\": 4", 0), 0u);
  EXPECT_EQ(json.find("\"uid\": 0,"), std::string::npos) << json;
  // Version 0 held the text in the ANSI code page.
  EXPECT_NE(json.find("\"text\": \"Line 1\\r\\n\\\"quoted\\\"\\tcaf\xC3\xA9"), std::string::npos)
      << json;
}

TEST(DbTool, NewWritesOneEmptyListAndNeverOverwrites) {
  TempDir dir;
  std::u16string path = dir.File("made/new.sbn");
  ASSERT_EQ(Tool({u"new", path}).code, 0);
  Bytes file = ReadBytes(path);
  ASSERT_GT(file.size(), 57u);
  EXPECT_EQ(file[0], 0x33);
  EXPECT_EQ(file[1], 0x00);
  uint32_t marker = 0;
  std::memcpy(&marker, file.data() + file.size() - 4, 4);
  EXPECT_EQ(marker, TNoteListCollection::kEndMarker);
  EXPECT_EQ(Tool({u"verify", path}).code, 0);
  std::string json = Tool({u"dump", path}).out;
  EXPECT_NE(json.find("\"lists\": [{\"name\": \"List 1\", \"scheme\": \"\""), std::string::npos)
      << json;
  EXPECT_NE(json.find("\"notes\": []}]}"), std::string::npos) << json;

  ToolResult again = Tool({u"new", path});
  EXPECT_EQ(again.code, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos);
  EXPECT_EQ(ReadBytes(path), file);
}

TEST(DbTool, ExportWritesUtf16WithByteOrderMarkAndCrLf) {
  TempDir dir;
  std::u16string in = WriteSample(dir, "in.sbn"), out = dir.File("export.txt");
  Bytes before = ReadBytes(in);
  ASSERT_EQ(Tool({u"export", in, out}).code, 0);
  EXPECT_EQ(ReadBytes(in), before);

  Bytes bytes = ReadBytes(out);
  ASSERT_GE(bytes.size(), 4u);
  ASSERT_EQ(bytes.size() % 2, 0u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  std::u16string text(bytes.size() / 2 - 1, u'\0');
  std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
  EXPECT_EQ(text.rfind(u"Vellumio 2.2; ", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == u'\r') << i;
    }
  }
  EXPECT_NE(text.find(u"Caf\u00e9 list (2 notes)"), std::u16string::npos);
  EXPECT_NE(text.find(u"\"quoted\"\tcaf\u00e9"), std::u16string::npos);
}

// ---- find ------------------------------------------------------------------

// A database of one list holding one note per text, with the given time.
std::u16string WriteDatedDb(const TempDir& dir, const char* name,
                            const std::vector<std::u16string>& texts, double time) {
  ListImage list;
  list.name = "L";
  for (const auto& text : texts) {
    NoteImage note;
    note.text = text;
    list.notes.push_back(note);
  }
  DatabaseImage image;
  image.lists = {list, ListImage{}};
  // In the separators the walk reports.
  std::u16string path = fs::path(dir.File(name)).make_preferred().u16string();
  fs::create_directories(fs::path(path).parent_path());
  WriteBytes(path, testdata::WriteDatabase(image));
  platform::SetFileModifiedTime(path, time);
  return path;
}

std::string FindLine(double time, const std::u16string& path, int lists, int notes) {
  return ToUtf8(FormatShortDateLongTime(time)) + "\t" + ToUtf8(path) + "\t" +
         std::to_string(lists) + "\t" + std::to_string(notes) + "\n";
}

TEST(DbTool, FindListsEachContentOnceNewestFirst) {
  TempDir dir;
  const std::u16string one = dir.File("one"), two = dir.File("two");
  const std::u16string current = WriteDatedDb(dir, "one/notes.sbn", {u"a", u"b"}, 45000.25);
  // The same content again, newer: found after the first, so not listed.
  WriteDatedDb(dir, "two/deep/er/notes.sbn.0", {u"a", u"b"}, 46000.5);
  const std::u16string weekly = WriteDatedDb(dir, "two/notes.sbn.weekly", {u"a"}, 44000.75);
  const std::u16string newest = WriteDatedDb(dir, "two/deep/copy.sbn", {u"a", u"b", u"c"}, 47000);
  WriteBytes(dir.File("two/readme.txt"), Bytes{'h', 'i'});
  WriteBytes(dir.File("two/broken.sbn"), Bytes{0x33, 0x00, 'x'});

  ToolResult r = Tool({u"find", one, two});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, FindLine(47000, newest, 2, 3) + FindLine(45000.25, current, 2, 2) +
                       FindLine(44000.75, weekly, 2, 1));
  EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(DbTool, FindWithNothingFoundSaysSoAndSucceeds) {
  TempDir dir;
  WriteBytes(dir.File("notes.txt"), Bytes{'x'});
  ToolResult r = Tool({u"find", dir.Path()});
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(r.err, "vellumio-db: no databases found\n");
}

TEST(DbTool, FindRefusesPathsThatAreNotFolders) {
  TempDir dir;
  const std::u16string file = WriteDatedDb(dir, "notes.sbn", {u"a"}, 45000);
  for (const std::u16string& bad : {file, dir.File("missing")}) {
    ToolResult r = Tool({u"find", dir.Path(), bad});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "vellumio-db: \"" + ToUtf8(bad) + "\" is not a folder\n");
    EXPECT_TRUE(r.out.empty());
  }
}

}  // namespace
}  // namespace vellumio
