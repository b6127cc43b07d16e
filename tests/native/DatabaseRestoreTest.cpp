// The restore search on real temporary folders: which files count as
// databases, their summaries, duplicates, links, stopping, and the restore
// step itself.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "base/Utf8.h"
#include "platform/DirectoryWalk.h"
#include "platform/Platform.h"
#include "store/Crc32.h"
#include "store/DatabaseInfo.h"
#include "store/DatabaseRestore.h"
#include "store/DatabaseSearch.h"
#include "store/MainThreadQueue.h"
#include "tests/support/RecordWriter.h"
#include "tests/support/TestFiles.h"

namespace vellumio {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteText;
using testdata::DatabaseImage;
using testdata::ListImage;
using testdata::NoteImage;

DatabaseImage Image(std::vector<std::vector<std::u16string>> lists) {
  DatabaseImage image;
  int32_t uid = 5000;
  for (size_t l = 0; l < lists.size(); ++l) {
    ListImage list;
    list.name = "List " + std::to_string(l + 1);
    list.uid = ++uid;
    for (const auto& text : lists[l]) {
      NoteImage note;
      note.text = text;
      note.created = 45000 + uid;
      note.uid = ++uid;
      list.notes.push_back(note);
    }
    image.lists.push_back(list);
  }
  return image;
}

void WriteDb(const fs::path& path, const DatabaseImage& image) {
  fs::create_directories(path.parent_path());
  const std::vector<uint8_t> bytes = testdata::WriteDatabase(image);
  WriteText(path, std::string(bytes.begin(), bytes.end()));
}

void WriteDb(const fs::path& path, const std::u16string& text) { WriteDb(path, Image({{text}})); }

// Creates a link to a folder, or says why the test cannot run here (Wine
// and Windows without the privilege refuse symbolic links).
bool MakeFolderLink(const fs::path& target, const fs::path& link, std::string& why) {
  std::error_code error;
  fs::create_directory_symlink(target, link, error);
  if (error) why = "symbolic links cannot be created here: " + error.message();
  return !error;
}

// ---- Names and summaries ------------------------------------------------------------

TEST(DatabaseInfo, QualifyingNames) {
  const struct {
    const char16_t* path;
    bool qualifies;
  } cases[] = {
      {u"notes.sbn", true},
      {u"NOTES.SBN", true},
      {u"notes.sbn.0", true},
      {u"notes.sbn.6", true},
      {u"notes.sbn.weekly", true},
      {u"notes.sbn.0~", true},
      {u"a.b.Sbn", true},
      {u".sbn", true},
      {u"C:\\x\\notes.sbn.3", true},
      {u"/x/y/notes.sbn", true},
      {u"notes.sbn~", false},
      {u"notes.sbnx", false},
      {u"notes.txt", false},
      {u"sbn", false},
      {u"notes.sbn.tar.gz", false},
      {u"C:\\dir.sbn\\file", false},
      {u"/dir.sbn/file.txt", false},
      {u"/dir.sbn.0/file", false},
      {u"", false},
      {u"notes.", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TDatabaseInfo::Qualifies(c.path), c.qualifies) << ToUtf8(c.path);
  }
}

TEST(DatabaseInfo, LoadSummarisesTheFile) {
  TempFolder dir;
  const fs::path path = dir.Path("notes.sbn.2");
  WriteDb(path, Image({{u"first note", u"second note"}, {u"third note"}, {}}));
  platform::SetFileModifiedTime(path.u16string(), 45123.5);

  TDatabaseInfo info;
  ASSERT_TRUE(info.Load(path.u16string()));
  EXPECT_EQ(info.FileName, path.u16string());
  EXPECT_EQ(info.ListCount, 3);
  EXPECT_EQ(info.NoteCount, 3);
  EXPECT_EQ(info.Size, fs::file_size(path));
  EXPECT_NEAR(info.Time, 45123.5, 1.0 / 86400);
  // The export runs from the last list to the first, lines joined by CR LF.
  const size_t third = info.Preview.find(u"third note");
  const size_t first = info.Preview.find(u"first note");
  ASSERT_NE(third, std::u16string::npos);
  ASSERT_NE(first, std::u16string::npos);
  EXPECT_LT(third, first);
  EXPECT_NE(info.Preview.find(u"List 2 (1 notes)\r\n"), std::u16string::npos);
  EXPECT_EQ(info.Checksum, Crc32(info.Preview.data(), info.Preview.size() * 2));
}

TEST(DatabaseInfo, FilesThatAreNotDatabasesAreSkipped) {
  TempFolder dir;
  WriteText(dir.Path("text.sbn"), "just some text, not a database\r\n");
  WriteText(dir.Path("empty.sbn"), "");
  WriteText(dir.Path("zeros.sbn"), std::string(4096, '\0'));
  const std::vector<uint8_t> good = testdata::WriteDatabase(Image({{u"note"}}));
  WriteText(dir.Path("cut.sbn"), std::string(good.begin(), good.end() - 6));
  WriteText(dir.Path("good.txt"), std::string(good.begin(), good.end()));
  fs::create_directories(dir.Path("folder.sbn"));
  for (const char* name :
       {"text.sbn", "empty.sbn", "zeros.sbn", "cut.sbn", "good.txt", "folder.sbn", "missing.sbn"}) {
    TDatabaseInfo info;
    EXPECT_FALSE(info.Load(dir.U(name))) << name;
  }
}

TEST(DatabaseInfo, LongPreviewIsCutAndMarked) {
  TempFolder dir;
  WriteDb(dir.Path("long.sbn"), std::u16string(50000, u'x'));
  TDatabaseInfo info;
  ASSERT_TRUE(info.Load(dir.U("long.sbn")));
  ASSERT_EQ(info.Preview.size(), 30000u + 15u);
  EXPECT_EQ(info.Preview.substr(30000), u"\n. . . \n . . . ");
  EXPECT_EQ(info.Preview.substr(29000, 1000), std::u16string(1000, u'x'));

  // Short enough: kept whole, no marks.
  WriteDb(dir.Path("short.sbn"), std::u16string(20000, u'y'));
  TDatabaseInfo shortInfo;
  ASSERT_TRUE(shortInfo.Load(dir.U("short.sbn")));
  EXPECT_LT(shortInfo.Preview.size(), 30000u);
  EXPECT_EQ(shortInfo.Preview.find(u". . ."), std::u16string::npos);
}

TEST(DatabaseInfo, CutNeverSplitsASurrogatePair) {
  std::u16string text(29999, u'a');
  text += u"\U0001F600";
  text += std::u16string(100, u'b');
  const std::u16string preview = BuildPreview(text, nullptr);
  EXPECT_EQ(preview, std::u16string(29999, u'a') + u"\n. . . \n . . . ");
}

TEST(Crc32, KnownValuesAndPieces) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("", 0), 0u);
  EXPECT_EQ(Crc32("6789", 4, Crc32("12345", 5)), 0xCBF43926u);
}

// ---- The walker ---------------------------------------------------------------------

std::set<std::u16string> WalkAll(const fs::path& root,
                                 std::function<bool(std::u16string_view)> filter = {}) {
  std::atomic<bool> stop{false};
  std::set<std::u16string> found;
  TDatabaseSearch search(stop, [&](TDatabaseSearch::Batch&& batch) {
    for (auto& name : batch) EXPECT_TRUE(found.insert(name).second) << "reported twice";
  });
  search.filter = std::move(filter);
  EXPECT_TRUE(search.Walk(root.u16string()));
  return found;
}

std::u16string Under(const fs::path& root, const char* relative) {
  return (root / fs::path(relative).make_preferred()).u16string();
}

TEST(DatabaseSearch, WalksTheWholeTreeAndFilters) {
  TempFolder dir;
  WriteText(dir.Path("a.txt"), "a");
  fs::create_directories(dir.Path("one/two/three"));
  WriteText(dir.Path("one/b.sbn"), "b");
  WriteText(dir.Path("one/two/three/c.sbn.1"), "c");
  fs::create_directories(dir.Path("empty"));

  EXPECT_EQ(WalkAll(dir.Root()),
            (std::set<std::u16string>{Under(dir.Root(), "a.txt"), Under(dir.Root(), "one/b.sbn"),
                                      Under(dir.Root(), "one/two/three/c.sbn.1")}));
  EXPECT_EQ(WalkAll(dir.Root(), TDatabaseInfo::Qualifies),
            (std::set<std::u16string>{Under(dir.Root(), "one/b.sbn"),
                                      Under(dir.Root(), "one/two/three/c.sbn.1")}));
}

TEST(DatabaseSearch, SymbolicLinkLoopIsNotFollowed) {
  TempFolder dir;
  fs::create_directories(dir.Path("a/b"));
  WriteText(dir.Path("a/b/notes.sbn"), "x");
  std::string why;
  // a/b/up -> a: following it would walk a/b/up/b/up/... for ever.
  if (!MakeFolderLink(dir.Path("a"), dir.Path("a/b/up"), why)) GTEST_SKIP() << why;
  if (!MakeFolderLink(dir.Root(), dir.Path("top"), why)) GTEST_SKIP() << why;

  const auto found = WalkAll(dir.Root());
  EXPECT_EQ(found, (std::set<std::u16string>{Under(dir.Root(), "a/b/notes.sbn")}));
}

TEST(DatabaseSearch, BatchesCarryEveryNameOnce) {
  TempFolder dir;
  for (int i = 0; i < 150; ++i) WriteText(dir.Path("n" + std::to_string(i) + ".sbn"), "x");
  std::atomic<bool> stop{false};
  std::vector<size_t> sizes;
  std::set<std::u16string> names;
  TDatabaseSearch search(stop, [&](TDatabaseSearch::Batch&& batch) {
    sizes.push_back(batch.size());
    names.insert(batch.begin(), batch.end());
  });
  EXPECT_TRUE(search.Walk(dir.Root().u16string()));
  EXPECT_EQ(names.size(), 150u);
  EXPECT_GE(sizes.size(), 3u);
  for (size_t size : sizes) EXPECT_LE(size, TDatabaseSearch::kBatchSize);
  EXPECT_EQ(search.Examined(), 150u);
}

TEST(DatabaseSearch, StopFlagEndsTheWalkAtTheNextEntry) {
  TempFolder dir;
  for (int i = 0; i < 20; ++i) WriteText(dir.Path("n" + std::to_string(i) + ".sbn"), "x");
  std::atomic<bool> stop{true};
  int batches = 0;
  TDatabaseSearch search(stop, [&](TDatabaseSearch::Batch&&) { ++batches; });
  EXPECT_FALSE(search.Walk(dir.Root().u16string()));
  EXPECT_EQ(batches, 0);
  EXPECT_EQ(search.Examined(), 1u);
}

TEST(DatabaseSearch, UnreadableAndMissingFoldersAreSkipped) {
  TempFolder dir;
  fs::create_directories(dir.Path("locked"));
  WriteText(dir.Path("locked/hidden.sbn"), "x");
  WriteText(dir.Path("seen.sbn"), "x");
  fs::permissions(dir.Path("locked"), fs::perms::none);
  const bool stillReadable = platform::ForEachEntry(dir.U("locked"), [](auto&) { return true; });
  if (!stillReadable) {
    EXPECT_EQ(WalkAll(dir.Root()), (std::set<std::u16string>{Under(dir.Root(), "seen.sbn")}));
  }
  EXPECT_TRUE(WalkAll(dir.Path("missing")).empty());
  fs::permissions(dir.Path("locked"), fs::perms::owner_all);
  if (stillReadable) GTEST_SKIP() << "permissions do not lock folders here (running as root?)";
}

TEST(DatabaseSearch, ExcludedFoldersAreNotEntered) {
  TempFolder dir;
  fs::create_directories(dir.Path("done"));
  WriteText(dir.Path("done/x.sbn"), "x");
  WriteText(dir.Path("new.sbn"), "x");
  std::atomic<bool> stop{false};
  std::set<std::u16string> found;
  TDatabaseSearch search(stop,
                         [&](TDatabaseSearch::Batch&& b) { found.insert(b.begin(), b.end()); });
  search.Exclude(dir.U("done") + u"/");
  search.Walk(dir.Root().u16string());
  EXPECT_EQ(found, (std::set<std::u16string>{Under(dir.Root(), "new.sbn")}));
}

// ---- The collector and its thread -----------------------------------------------------

struct Collected {
  TManualQueue queue;
  std::vector<std::u16string> added;
  bool finished = false;
  bool addedAfterFinish = false;
};

// Runs FindAll on a search thread and the posted calls here, as the dialog
// does, until the finishing call has run.
void RunSearch(TDatabaseRestore& restore, Collected& c) {
  restore.OnAdd = [&](const TDatabaseInfo& info) {
    if (c.finished) c.addedAfterFinish = true;
    c.added.push_back(info.FileName);
  };
  TSearchThread thread(
      c.queue, [&](TSearchThread& t) { restore.FindAll(t); }, [&] { c.finished = true; });
  thread.Start();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!c.finished && std::chrono::steady_clock::now() < deadline) {
    c.queue.WaitAndRun(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(thread.Done());
  EXPECT_TRUE(c.finished);
  EXPECT_FALSE(c.addedAfterFinish);
}

TEST(DatabaseRestore, BackupEqualToTheDatabaseIsListedOnce) {
  TempFolder dir;
  const auto current = Image({{u"alpha", u"beta"}});
  WriteDb(dir.Path("data/notes.sbn"), current);
  WriteDb(dir.Path("data/Backup/notes.sbn.0"), current);              // the same content
  WriteDb(dir.Path("data/Backup/notes.sbn.1"), Image({{u"alpha"}}));  // an older state
  WriteDb(dir.Path("elsewhere/copy.sbn"), current);                   // found on a "drive"
  WriteDb(dir.Path("elsewhere/old.sbn.weekly"), Image({{u"gamma"}}));

  TDatabaseRestore restore(dir.U("data"), dir.U("data/Backup") + u"/");
  restore.DriveRoots = [&] {
    return std::vector<std::u16string>{dir.U("elsewhere"), dir.U("data")};
  };
  Collected c;
  RunSearch(restore, c);
  ASSERT_EQ(restore.Infos().size(), 3u);
  EXPECT_EQ(c.added.size(), 3u);
  std::set<std::u16string> names(c.added.begin(), c.added.end());
  EXPECT_EQ(names.count(Under(dir.Root(), "data/Backup/notes.sbn.1")), 1u);
  EXPECT_EQ(names.count(Under(dir.Root(), "elsewhere/old.sbn.weekly")), 1u);
}

TEST(DatabaseRestore, SameStartDifferentEndIsNotADuplicate) {
  // The previews are cut at the same place and the sizes agree; only the
  // checksum of the whole text tells the two apart.
  TempFolder dir;
  std::u16string a(40000, u'q'), b = a;
  b[35000] = u'r';
  WriteDb(dir.Path("a.sbn"), a);
  WriteDb(dir.Path("b.sbn"), b);
  TDatabaseRestore restore(u"", u"");
  EXPECT_TRUE(restore.AddFile(dir.U("a.sbn")));
  EXPECT_TRUE(restore.AddFile(dir.U("b.sbn")));
  EXPECT_FALSE(restore.AddFile(dir.U("a.sbn")));
  EXPECT_EQ(restore.Infos().size(), 2u);
}

TEST(DatabaseRestore, BackupAndTextFileGiveOneRow) {
  TempFolder dir;
  WriteDb(dir.Path("notes.sbn.0"), u"kept");
  WriteText(dir.Path("readme.txt"), "not a database");
  TDatabaseRestore restore(dir.U(), u"");
  restore.DriveRoots = {};
  Collected c;
  RunSearch(restore, c);
  ASSERT_EQ(c.added.size(), 1u);
  EXPECT_EQ(c.added[0], dir.U("notes.sbn.0"));
}

TEST(DatabaseRestore, ClosingDuringALongWalkEndsPromptlyWithNoRowsPending) {
  TempFolder dir;
  for (int f = 0; f < 10; ++f) fs::create_directories(dir.Path("f" + std::to_string(f)));
  for (int f = 0; f < 10; ++f) {
    for (int i = 0; i < 40; ++i)
      WriteText(dir.Path("f" + std::to_string(f)) / ("n" + std::to_string(i) + ".sbn"), "");
  }
  WriteDb(dir.Path("real.sbn"), u"a real one");

  TDatabaseRestore restore(u"", u"");
  int adds = 0;
  restore.OnAdd = [&](const TDatabaseInfo&) { ++adds; };
  TManualQueue queue;
  bool finished = false;
  std::atomic<bool> walking{false};
  // A walk that never ends by itself: the tree again and again.
  auto thread = std::make_unique<TSearchThread>(
      queue,
      [&](TSearchThread& t) {
        walking = true;
        while (!t.Terminated()) {
          TDatabaseSearch search(t.StopFlag(), [&](TDatabaseSearch::Batch&& batch) {
            t.PostToMain([&restore, names = std::move(batch)] {
              for (const auto& n : names) restore.AddFile(n);
            });
          });
          search.Walk(dir.Root().u16string());
        }
      },
      [&] { finished = true; });
  thread->Start();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (queue.PendingCount() < 3 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(walking);
  ASSERT_GE(queue.PendingCount(), 3u) << "the walk posted no batches";

  const auto closing = std::chrono::steady_clock::now();
  thread.reset();  // what the dialog's close does: terminate and wait
  const auto took = std::chrono::steady_clock::now() - closing;
  EXPECT_LT(took, std::chrono::milliseconds(200));

  // The batches still queued belong to a closed dialog: they add nothing.
  queue.RunPending();
  EXPECT_EQ(adds, 0);
  EXPECT_FALSE(finished);
}

// ---- The restore step ---------------------------------------------------------------

class RecordingSetting : public IDatabaseFileSetting {
public:
  void SetDatabaseFile(const std::u16string& path) override { paths.push_back(path); }
  std::vector<std::u16string> paths;
};

TEST(DatabaseRestore, RestoreTakesTheFirstFreeNameAndMarksTheSource) {
  TempFolder dir;
  const fs::path data = dir.Path("data");
  fs::create_directories(data);
  WriteText(data / "notes-1.sbn", "taken");
  WriteText(data / "notes-2.sbn", "taken");
  WriteDb(dir.Path("Backup/notes.sbn.4"), u"the state to go back to");
  const std::string sourceBytes = test::ReadAll(dir.Path("Backup/notes.sbn.4"));

  RecordingSetting setting;
  const std::u16string target =
      RestoreDatabase(dir.U("Backup/notes.sbn.4"), data.u16string() + u"/", setting);
  const fs::path expected = data / "notes-3.sbn";
  EXPECT_TRUE(fs::equivalent(fs::path(target), expected));
  EXPECT_EQ(test::ReadAll(expected), sourceBytes);
  EXPECT_FALSE(fs::exists(dir.Path("Backup/notes.sbn.4")));
  EXPECT_EQ(test::ReadAll(dir.Path("Backup/notes.sbn.4~")), sourceBytes);
  ASSERT_EQ(setting.paths.size(), 1u);
  EXPECT_EQ(setting.paths[0], target);
  // The marked source stays findable by a later search.
  EXPECT_TRUE(TDatabaseInfo::Qualifies(dir.U("Backup/notes.sbn.4~")));
}

TEST(DatabaseRestore, RestoreKeepsAnEarlierMarkedFile) {
  TempFolder dir;
  WriteDb(dir.Path("notes.sbn.0"), u"new");
  WriteText(dir.Path("notes.sbn.0~"), "left by an earlier restore");
  RecordingSetting setting;
  RestoreDatabase(dir.U("notes.sbn.0"), dir.U("data") + u"/", setting);
  EXPECT_EQ(test::ReadAll(dir.Path("notes.sbn.0~")), "left by an earlier restore");
  EXPECT_TRUE(fs::exists(dir.Path("notes.sbn.0~~")));
  EXPECT_TRUE(fs::exists(dir.Path("data/notes-1.sbn")));
}

TEST(DatabaseRestore, FailedCopyChangesNothing) {
  TempFolder dir;
  RecordingSetting setting;
  EXPECT_THROW(RestoreDatabase(dir.U("missing.sbn.1"), dir.U() + u"/", setting),
               std::runtime_error);
  EXPECT_TRUE(setting.paths.empty());
  EXPECT_FALSE(fs::exists(dir.Path("notes-1.sbn")));

  // A copy that does not read back as a database (here: the source is
  // none) is removed again, and the source keeps its name.
  WriteText(dir.Path("damaged.sbn.1"), "not a database");
  EXPECT_THROW(RestoreDatabase(dir.U("damaged.sbn.1"), dir.U() + u"/", setting),
               std::runtime_error);
  EXPECT_TRUE(setting.paths.empty());
  EXPECT_FALSE(fs::exists(dir.Path("notes-1.sbn")));
  EXPECT_TRUE(fs::exists(dir.Path("damaged.sbn.1")));
  EXPECT_FALSE(fs::exists(dir.Path("damaged.sbn.1~")));
}

TEST(DatabaseRestore, NamesAndExtensions) {
  TempFolder dir;
  EXPECT_THROW(FirstFreeName(dir.U(), u"notes.sbn"), std::invalid_argument);
  WriteText(dir.Path("b-1.x"), "");
  fs::create_directories(dir.Path("b-2.x"));  // a folder takes the name too
  EXPECT_EQ(fs::path(FirstFreeName(dir.U(), u"b-#.x")).filename(), "b-3.x");
  EXPECT_EQ(fs::path(FirstFreeName(dir.U(), u"#")).filename(), "1");

  const struct {
    const char16_t* in;
    const char16_t* out;
  } cases[] = {
      {u"C:\\d\\notes", u"C:\\d\\notes.sbn"},
      {u"C:\\d\\notes.sbn", u"C:\\d\\notes.sbn"},
      {u"C:\\d\\notes.SBN", u"C:\\d\\notes.SBN"},
      {u"notes.sbn.0", u"notes.sbn.0.sbn"},
      {u"sbn", u"sbn.sbn"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithDatabaseExtension(c.in), c.out) << ToUtf8(c.in);
}

}  // namespace
}  // namespace vellumio
