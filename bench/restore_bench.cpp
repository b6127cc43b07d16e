// Speed of the restore search on a folder tree of 10,000 files of which 50
// are databases: the walk alone and the whole search (walk on the search
// thread, loading and duplicate checks on this thread, as the restore
// dialog runs it), each per file examined beside a plain recursive listing
// of the same tree. Prints a table; `--json FILE` also writes the figures.
// The run never fails on speed: the targets are there to be read.
//
//   restore_bench [--json FILE] [--files N] [--keep]
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "bench/Measure.h"
#include "store/DatabaseRestore.h"
#include "store/DatabaseSearch.h"
#include "store/MainThreadQueue.h"
#include "tests/support/DatabaseGenerator.h"
#include "tests/support/RecordWriter.h"

namespace vellumio::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kDatabases = 50;

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Database(int index) {
  testdata::GeneratorOptions o;
  o.seed = 1000 + static_cast<uint64_t>(index);
  o.listCount = 3;
  o.noteCount = 60;
  o.averageTextLength = 300;
  return testdata::WriteDatabase(testdata::GenerateDatabase(o));
}

// Ten folders of ten subfolders, the files spread over them; the databases
// (and their backups' names) among ordinary documents.
fs::path MakeTree(const BenchOptions& options) {
  const fs::path root =
      fs::temp_directory_path() / ("vellumio-restore-bench-" + std::to_string(getpid()));
  fs::remove_all(root);
  std::vector<fs::path> folders;
  for (int a = 0; a < 10; ++a) {
    for (int b = 0; b < 10; ++b) {
      folders.push_back(root / ("dir" + std::to_string(a)) / ("sub" + std::to_string(b)));
      fs::create_directories(folders.back());
    }
  }
  const char* extensions[] = {".txt", ".jpg", ".doc", ".dll", ".bak", ".html", ".png"};
  const std::vector<uint8_t> filler(512, 'x');
  const int step = options.count / kDatabases;
  for (int i = 0; i < options.count; ++i) {
    const fs::path& folder = folders[static_cast<size_t>(i) % folders.size()];
    if (i % step == 0 && i / step < kDatabases) {
      const int n = i / step;
      const char* suffix = n % 3 == 0 ? ".sbn" : n % 3 == 1 ? ".sbn.2" : ".sbn.weekly";
      WriteFile(folder / ("notes" + std::to_string(n) + suffix), Database(n));
    } else if (i % 500 == 1) {
      // Named like a database but not one: loaded and rejected.
      WriteFile(folder / ("junk" + std::to_string(i) + ".sbn"), filler);
    } else {
      WriteFile(folder / ("file" + std::to_string(i) + extensions[i % 7]), filler);
    }
  }
  return root;
}

// The baseline: what listing the names costs at all.
uint64_t PlainWalk(const fs::path& root) {
  uint64_t names = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    names += entry.path().filename().native().size() > 0 ? 1 : 0;
  }
  return names;
}

uint64_t OurWalk(const fs::path& root, size_t& candidates) {
  std::atomic<bool> stop{false};
  candidates = 0;
  TDatabaseSearch search(stop, [&](TDatabaseSearch::Batch&& batch) { candidates += batch.size(); });
  search.filter = TDatabaseInfo::Qualifies;
  search.Walk(root.u16string());
  return search.Examined();
}

size_t FullSearch(const fs::path& root) {
  TDatabaseRestore restore(u"", u"");
  restore.DriveRoots = {};
  TManualQueue queue;
  bool finished = false;
  TSearchThread thread(
      queue, [&](TSearchThread& t) { restore.Scan(root.u16string(), t); },
      [&] { finished = true; });
  thread.Start();
  while (!finished) queue.WaitAndRun(std::chrono::milliseconds(20));
  return restore.Infos().size();
}

int Run(const BenchOptions& options) {
  const fs::path root = MakeTree(options);
  uint64_t entries = PlainWalk(root);
  size_t candidates = 0;
  uint64_t examined = OurWalk(root, candidates);
  const size_t found = FullSearch(root);
  std::printf(
      "tree: %llu entries (%d files, %d databases); walk examined %llu, %zu candidates, %zu "
      "found\n",
      static_cast<unsigned long long>(entries), options.count, kDatabases,
      static_cast<unsigned long long>(examined), candidates, found);

  const double perFile = 1000.0 / static_cast<double>(entries);  // ms -> us per entry
  const double plainMs = MedianMs(7, [&](int) { PlainWalk(root); });
  const double walkMs = MedianMs(7, [&](int) { OurWalk(root, candidates); });
  const double searchMs = MedianMs(5, [&](int) { FullSearch(root); });
  std::printf("files examined per second: plain walk %.0f, our walk %.0f, whole search %.0f\n\n",
              entries / plainMs * 1000, entries / walkMs * 1000, entries / searchMs * 1000);

  std::vector<Figure> figures;
  figures.push_back(
      {"walk (names only)", walkMs * perFile, "us/file", "plain walk", plainMs * perFile, 1.5});
  figures.push_back({"search (walk + load 50)", searchMs * perFile, "us/file", "plain walk",
                     plainMs * perFile, 4.0});
  Report(figures, options.jsonPath);
  if (!options.keep) fs::remove_all(root);
  return 0;
}

}  // namespace
}  // namespace vellumio::bench

int main(int argc, char** argv) {
  using namespace vellumio::bench;
  return BenchMain(argc, argv, {"restore_bench", "--files", 10000, kDatabases}, Run);
}
