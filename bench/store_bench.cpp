// Speed and memory of the notes store on a database of 100,000 notes (about
// 50 MB of text), each figure beside a baseline that says what "fast" means
// for it. Prints a table; `--json FILE` also writes the figures. The run
// never fails on speed: the targets are there to be read.
//
//   store_bench [--json FILE] [--notes N] [--keep]
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/Stream.h"
#include "base/Utf8.h"
#include "bench/BenchDatabase.h"
#include "bench/BenchReport.h"
#include "bench/Measure.h"
#include "bench/PeakMemory.h"
#include "bench/SqliteBaseline.h"
#include "store/uNotesList.h"
#include "tests/support/DatabaseGenerator.h"
#include "tests/support/RecordWriter.h"

namespace vellumio::bench {
namespace {

namespace fs = std::filesystem;


struct Files {
  fs::path folder, v8, v5, sqlite;
};

constexpr double kMegabyte = 1024.0 * 1024.0;

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

size_t TextBytes(const testdata::DatabaseImage& image) {
  size_t bytes = 0;
  for (const auto& list : image.lists) {
    for (const auto& note : list.notes) bytes += EncodeUtf8PerUnit(note.text).size();
  }
  return bytes;
}

// The version 8 file is the store's own output; the version 5 file holds the
// same notes in note records of version 5, which carry no identities.
void WriteFiles(const testdata::DatabaseImage& image, TNoteListCollection& db, const Files& files) {
  std::vector<uint8_t> current = testdata::WriteDatabase(image);
  TBufferReader reader(current.data(), current.size());
  db.LoadFromStream(reader);
  db.SaveToFile(files.v8.u16string());
  testdata::RecordVersions v5;
  v5.note = 5;
  WriteFile(files.v5, testdata::WriteDatabase(image, v5));
}

Figure Serialise(TNoteListCollection& db) {
  size_t size = 0;
  double ours = MedianMs(5, [&](int) {
    TMemoryStream stream;
    db.SaveToStream(stream);
    size = stream.Size();
  });
  TMemoryStream saved;
  db.SaveToStream(saved);
  const std::vector<uint8_t>& bytes = saved.Bytes();
  double copy = MedianMs(5, [&](int) {
    std::unique_ptr<uint8_t[]> target(new uint8_t[bytes.size()]);
    std::memcpy(target.get(), bytes.data(), bytes.size());
    asm volatile("" : : "r"(target.get()) : "memory");
  });
  std::printf("serialised %.1f MB\n", size / kMegabyte);
  return {"serialise", ours, "ms", "memcpy", copy, 10.0};
}

double LoadMs(TNoteListCollection& db, const fs::path& path, int repetitions) {
  std::u16string file = path.u16string();
  db.LoadFromFile(file);  // page cache warm, allocator warm
  return MedianMs(
      repetitions, [&](int) { db.Clear(); }, [&](int) { db.LoadFromFile(file); });
}

Figure Load(TNoteListCollection& db, const Files& files, const SqliteBaseline& sqlite,
            double& v8Ms) {
  v8Ms = LoadMs(db, files.v8, 5);
  size_t rows = sqlite.ReadAllNotes();
  double baseline = MedianMs(5, [&](int) { rows = sqlite.ReadAllNotes(); });
  std::printf("SQLite read %zu rows\n", rows);
  return {"load (v8 file)", v8Ms, "ms", "SQLite SELECT all", baseline, 1.0};
}

int CountMatches(TNoteListCollection& db, const std::u16string& filter) {
  int matches = 0;
  for (int l = 0; l < db.ListCount(); ++l) {
    TNotesList& list = *db.List(l);
    for (int i = 0; i < list.Count(); ++i) matches += list.Item(i)->MatchesFilter(filter) ? 1 : 0;
  }
  return matches;
}

// Every repetition uses another word, so no note has the answer cached.
Figure FreshFilter(TNoteListCollection& db, const SqliteBaseline& sqlite) {
  const char* words[] = {"garden", "meeting", "quartz", "budget", "river", "window"};
  CountMatches(db, u"warm-up");
  std::vector<int> ours(6);
  std::vector<int64_t> theirs(6);
  double oursMs = MedianMs(5, [&](int i) { ours[i] = CountMatches(db, FromUtf8(words[i])); });
  double likeMs = MedianMs(5, [&](int i) { theirs[i] = sqlite.CountLike(words[i]); });
  for (int i = 0; i < 5; ++i) {
    if (ours[i] != theirs[i]) {
      std::printf("note: \"%s\" matches %d notes here, %lld in SQLite\n", words[i], ours[i],
                  static_cast<long long>(theirs[i]));
    }
  }
  return {"fresh filter", oursMs, "ms", "SQLite LIKE", likeMs, 0.5};
}

Figure OldVersionLoad(TNoteListCollection& db, const Files& files, double v8Ms) {
  double v5Ms = LoadMs(db, files.v5, 3);
  return {"load (v5 file)", v5Ms, "ms", "v8 load", v8Ms, 1.5};
}

Figure PeakMemory(const Files& files) {
  double peak = static_cast<double>(PeakMemoryOfLoading(files.v8.string())) / kMegabyte;
  double size = static_cast<double>(fs::file_size(files.v8)) / kMegabyte;
  if (peak == 0) std::printf("note: the load-only child failed\n");
  return {"peak memory after load", peak, "MB", "file size", size, 3.0};
}

Files MakeFolder() {
  Files f;
  f.folder = fs::temp_directory_path() / ("vellumio-bench-" + std::to_string(getpid()));
  fs::create_directories(f.folder);
  f.v8 = f.folder / "notes-v8.sbn";
  f.v5 = f.folder / "notes-v5.sbn";
  f.sqlite = f.folder / "notes.sqlite";
  return f;
}

int Run(const BenchOptions& options) {
  Files files = MakeFolder();
  testdata::DatabaseImage image = BenchDatabaseImage(options.count);
  std::printf("%zu notes, %.1f MB of note text (UTF-8)\n", image.NoteCount(),
              TextBytes(image) / kMegabyte);
  TNoteListCollection db(false);
  WriteFiles(image, db, files);
  SqliteBaseline sqlite(files.sqlite.string(), image);
  std::printf("files: v8 %.1f MB, v5 %.1f MB, SQLite %.1f MB\n",
              fs::file_size(files.v8) / kMegabyte, fs::file_size(files.v5) / kMegabyte,
              fs::file_size(files.sqlite) / kMegabyte);
  image = {};

  std::vector<Figure> figures;
  figures.push_back(Serialise(db));
  double v8Ms = 0;
  figures.push_back(Load(db, files, sqlite, v8Ms));
  figures.push_back(FreshFilter(db, sqlite));
  figures.push_back(OldVersionLoad(db, files, v8Ms));
  figures.push_back(PeakMemory(files));

  std::printf("\n");
  Report(figures, options.jsonPath);
  if (!options.keep) fs::remove_all(files.folder);
  return 0;
}

}  // namespace
}  // namespace vellumio::bench

int main(int argc, char** argv) {
  using namespace vellumio::bench;
  if (argc == 3 && std::strcmp(argv[1], kLoadOnlyArgument) == 0) return LoadOnlyChild(argv[2]);
  return BenchMain(argc, argv, {"store_bench", "--notes", 100000, 8}, Run);
}
