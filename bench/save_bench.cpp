// Speed of a background save on the 100,000-note database of the store
// benchmark: the main thread's share (serialise plus hand-over) against
// serialising alone, the worker's write pass against a plain write, flush
// and rename of the same bytes, and the backup copy against a plain file
// copy. Prints a table; `--json FILE` also writes the figures. The run
// never fails on speed.
//
//   save_bench [--json FILE] [--notes N]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/Stream.h"
#include "bench/BenchDatabase.h"
#include "bench/BenchReport.h"
#include "bench/Measure.h"
#include "store/Backups.h"
#include "store/MainThreadQueue.h"
#include "store/SaverFileSystem.h"
#include "store/SnapshotWriter.h"
#include "store/ThreadSaver.h"
#include "store/uNotesList.h"
#include "tests/support/DatabaseGenerator.h"
#include "tests/support/RecordWriter.h"

namespace vellumio::bench {
namespace {

namespace fs = std::filesystem;

constexpr double kMegabyte = 1024.0 * 1024.0;
constexpr int kRepetitions = 5;


// The same database as the store benchmark's.
void LoadDatabase(TNoteListCollection& db, int notes) {
  const std::vector<uint8_t> bytes = testdata::WriteDatabase(BenchDatabaseImage(notes));
  TBufferReader reader(bytes.data(), bytes.size());
  db.LoadFromStream(reader);
}

void WaitIdle(const ISnapshotSaver& saver) {
  while (!saver.IsIdle()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

Figure MainThreadShare(TNoteListCollection& db, const fs::path& folder) {
  const std::u16string path = (folder / "main.sbn").u16string();
  const double serialise = MedianMs(kRepetitions, [&](int) {
    TMemoryStream stream;
    db.SaveToStream(stream);
  });
  TManualQueue queue;
  db.SetSaver(std::make_unique<TThreadSaver>(queue));
  // Each repetition starts with the saver idle, so that the disk work of
  // the previous one does not run beside the one timed.
  const double ours = MedianMs(
      kRepetitions, [&](int) { WaitIdle(*db.Saver()); }, [&](int) { db.SaveInBackground(path); });
  WaitIdle(*db.Saver());
  db.SetSaver(nullptr);
  return {"main thread share of save", ours, "ms", "serialise alone", serialise, 1.2};
}

void PlainWrite(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".plain";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) throw std::runtime_error("cannot create " + temp);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) throw std::runtime_error("cannot write " + temp);
    done += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0 || close(fd) != 0) throw std::runtime_error("cannot flush " + temp);
  if (rename(temp.c_str(), path.c_str()) != 0) throw std::runtime_error("cannot rename " + temp);
}

template <class Body>
double TimeMs(Body body) {
  const auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Both passes replace an existing file of the same size, in alternation,
// so that neither gets a cache or allocation advantage.
Figure WritePass(const std::vector<uint8_t>& bytes, const fs::path& folder) {
  const std::u16string ours = (folder / "ours.sbn").u16string();
  const std::string plain = (folder / "plain.sbn").string();
  WriteSnapshotFile(RealSaverFileSystem(), ours, bytes);
  PlainWrite(plain, bytes);
  std::vector<double> oursMs, plainMs;
  for (int i = 0; i < kRepetitions; ++i) {
    oursMs.push_back(TimeMs([&] { WriteSnapshotFile(RealSaverFileSystem(), ours, bytes); }));
    plainMs.push_back(TimeMs([&] { PlainWrite(plain, bytes); }));
  }
  return {"worker write pass", Median(oursMs), "ms", "write+flush+rename", Median(plainMs), 1.2};
}

Figure BackupCopy(const fs::path& folder) {
  const fs::path db = folder / "ours.sbn", backups = folder / "Backup";
  const SnapshotFacts facts{8, 100000};
  const double ours = MedianMs(
      kRepetitions, [&](int) { fs::remove_all(backups); },
      [&](int) { RotateBackups(db.u16string(), backups.u16string(), kBackupGenerations, facts); });
  const double copy = MedianMs(
      kRepetitions, [&](int) { fs::remove(folder / "copy.sbn"); },
      [&](int) { fs::copy_file(db, folder / "copy.sbn"); });
  return {"backup copy", ours, "ms", "plain file copy", copy, 1.5};
}

int Run(const BenchOptions& options) {
  const fs::path folder =
      fs::temp_directory_path() / ("vellumio-save-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  TNoteListCollection db(false);
  LoadDatabase(db, options.count);
  TMemoryStream snapshot;
  db.SaveToStream(snapshot);
  std::printf("%d notes, snapshot %.1f MB\n", options.count, snapshot.Size() / kMegabyte);

  std::vector<Figure> figures;
  figures.push_back(MainThreadShare(db, folder));
  figures.push_back(WritePass(snapshot.Bytes(), folder));
  figures.push_back(BackupCopy(folder));

  std::printf("\n");
  Report(figures, options.jsonPath);
  fs::remove_all(folder);
  return 0;
}

}  // namespace
}  // namespace vellumio::bench

int main(int argc, char** argv) {
  using namespace vellumio::bench;
  return BenchMain(argc, argv, {"save_bench", "--notes", 100000, 8}, Run);
}
