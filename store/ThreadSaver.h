// The background saver of the main database. The main thread hands over a
// serialised snapshot (Enqueue) and goes on at once; the worker thread
// writes the newest snapshot through a temporary file, moves it over the
// database file and refreshes the backup generations. A burst of saves
// collapses: a snapshot still waiting when a newer one arrives is dropped
// unwritten. A failed write reaches the main thread through the queue.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "store/SaverFileSystem.h"
#include "store/SnapshotSaver.h"
#include "store/SnapshotWriter.h"

namespace vellumio {

class IMainThreadQueue;
class ISaveFailureReceiver;

class TThreadSaver final : public ISnapshotSaver {
public:
  // `queue` must outlive the saver; `receiver` may be set later.
  explicit TThreadSaver(IMainThreadQueue& queue, ISaveFailureReceiver* receiver = nullptr,
                        ISaverFileSystem& files = RealSaverFileSystem());
  // Waits for a write in progress, writes a snapshot still queued (on the
  // calling thread), and only then returns.
  ~TThreadSaver() override;
  TThreadSaver(const TThreadSaver&) = delete;
  TThreadSaver& operator=(const TThreadSaver&) = delete;

  void Enqueue(const std::u16string& path, std::vector<uint8_t> snapshot,
               const SnapshotFacts& facts) override;
  bool IsIdle() const override;

  // Main thread only.
  void SetReceiver(ISaveFailureReceiver* receiver);
  void SetMoveRetry(const MoveRetry& retry) { retry_ = retry; }
  // The target of the most recent request.
  std::u16string FileName() const;
  // Backup failures do not fail a save; the last one is kept for a look.
  std::string LastBackupError() const;

private:
  struct Job {
    std::u16string path;
    std::vector<uint8_t> bytes;
    SnapshotFacts facts;
  };
  // Shared with the notifications in flight, which may run after the saver
  // is gone: they then reach nobody.
  struct Link {
    std::atomic<ISaveFailureReceiver*> receiver{nullptr};
  };

  void Run();
  void WritePass();
  void Refresh(const Job& job);
  void Report(const std::u16string& path, const std::string& message);
  void WaitForWorker();

  IMainThreadQueue& queue_;
  ISaverFileSystem& files_;
  MoveRetry retry_;
  std::shared_ptr<Link> link_ = std::make_shared<Link>();

  mutable std::mutex mutex_;  // held for queue operations only, never during file I/O
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::optional<Job> pending_;
  std::u16string fileName_;
  std::string lastBackupError_;
  bool idle_ = true;
  bool stop_ = false;
  bool workerDone_ = false;
  std::thread worker_;
};

}  // namespace vellumio
