// The restore search's walker and its thread. The walk runs off the main
// thread (whole drives are walked) and hands the names it finds to the main
// thread in batches, where the files are loaded one at a time.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace vellumio {

class IMainThreadQueue;

// Walks a folder and all its subfolders and reports the files whose names
// pass the filter. Linked folders (junctions, symbolic links) are never
// entered, unreadable folders are skipped, and the stop flag is looked at
// before every entry, so that a walk of a whole drive ends at once when
// asked to.
class TDatabaseSearch {
public:
  using Batch = std::vector<std::u16string>;
  // A full batch is handed over at once; a partial one when this much time
  // has passed since the last, so that rows appear while a slow disk is
  // walked.
  static constexpr size_t kBatchSize = 64;
  static constexpr std::chrono::milliseconds kBatchInterval{100};

  TDatabaseSearch(const std::atomic<bool>& stop, std::function<void(Batch&&)> onBatch);

  // Only names for which this is true are reported (all when unset).
  std::function<bool(std::u16string_view)> filter;

  // Folders not to enter again (compared case-insensitively, without
  // trailing separators): the ones an earlier walk already covered.
  void Exclude(const std::u16string& folder);

  // Walks `folder`; returns false when it ended early because of the stop
  // flag. The last partial batch is handed over before returning.
  bool Walk(const std::u16string& folder);

  // Entries looked at so far, over all walks (the benchmark's count).
  uint64_t Examined() const { return examined_; }

private:
  bool WalkOne(const std::u16string& folder, std::vector<std::u16string>& pending);
  void Report(std::u16string path);
  void Flush();
  bool Excluded(const std::u16string& folder) const;

  const std::atomic<bool>& stop_;
  std::function<void(Batch&&)> onBatch_;
  std::unordered_set<std::u16string> excluded_;
  Batch batch_;
  std::chrono::steady_clock::time_point lastFlush_;
  uint64_t examined_ = 0;
};

// The thread of a search: created suspended, runs its work once, then sets
// Done and posts the finishing call to the main thread. Calls posted through
// PostToMain that have not run yet when the thread is terminated (or
// destroyed) are dropped, so a closed dialog gets no late rows.
class TSearchThread {
public:
  using Work = std::function<void(TSearchThread&)>;

  TSearchThread(IMainThreadQueue& queue, Work work, std::function<void()> onFinished = {});
  // Terminates and waits.
  ~TSearchThread();
  TSearchThread(const TSearchThread&) = delete;
  TSearchThread& operator=(const TSearchThread&) = delete;

  void Start();
  // Asks the work to end; callable from any thread.
  void Terminate() { stop_->store(true); }
  bool Terminated() const { return stop_->load(); }
  const std::atomic<bool>& StopFlag() const { return *stop_; }
  // Blocks until the work has returned (at once when never started).
  void WaitFor();
  // Set by the thread when its work has returned.
  bool Done() const { return done_.load(); }

  // From the work: runs `call` on the main thread, unless the search has
  // been terminated by then.
  void PostToMain(std::function<void()> call);

private:
  void Run();

  IMainThreadQueue& queue_;
  Work work_;
  std::function<void()> onFinished_;
  // Shared with the posted calls, which look at it before running; they
  // hold it weakly, so a call that outlives this object does nothing.
  std::shared_ptr<std::atomic<bool>> stop_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

}  // namespace vellumio
