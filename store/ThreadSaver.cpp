#include "store/ThreadSaver.h"

#include <chrono>

#include "config/AppFolders.h"
#include "platform/Platform.h"
#include "store/Backups.h"
#include "store/MainThreadQueue.h"
#include "store/SaveFailure.h"

namespace vellumio {

TThreadSaver::TThreadSaver(IMainThreadQueue& queue, ISaveFailureReceiver* receiver,
                           ISaverFileSystem& files)
    : queue_(queue), files_(files) {
  link_->receiver = receiver;
  worker_ = std::thread([this] { Run(); });
}

TThreadSaver::~TThreadSaver() {
  // The program is shutting down: a failure now has nobody left to show it.
  link_->receiver = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  WaitForWorker();
  worker_.join();
  // Typically the snapshot of the exit-time CommitAndSave.
  WritePass();
}

// The user interface stays responsive while a large save finishes.
void TThreadSaver::WaitForWorker() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!finished_.wait_for(lock, std::chrono::milliseconds(100), [&] { return workerDone_; })) {
    lock.unlock();
    platform::ProcessMessages();
    lock.lock();
  }
}

void TThreadSaver::Enqueue(const std::u16string& path, std::vector<uint8_t> snapshot,
                           const SnapshotFacts& facts) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    idle_ = false;
    fileName_ = path;
    // An older snapshot still waiting is superseded by this one.
    pending_ = Job{path, std::move(snapshot), facts};
  }
  wake_.notify_one();
}

bool TThreadSaver::IsIdle() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return idle_;
}

void TThreadSaver::SetReceiver(ISaveFailureReceiver* receiver) { link_->receiver = receiver; }

std::u16string TThreadSaver::FileName() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fileName_;
}

std::string TThreadSaver::LastBackupError() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastBackupError_;
}

void TThreadSaver::Run() {
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      // The predicate keeps a wake-up that came during a pass.
      wake_.wait(lock, [&] { return stop_ || pending_.has_value(); });
      if (stop_) break;
    }
    WritePass();
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    workerDone_ = true;
  }
  finished_.notify_all();
}

void TThreadSaver::WritePass() {
  std::optional<Job> job;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!pending_) return;
    job.swap(pending_);
  }
  try {
    WriteSnapshotFile(files_, job->path, job->bytes, retry_);
    job->bytes = {};
    Refresh(*job);
  } catch (const std::exception& e) {
    Report(job->path, e.what());
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (!pending_) idle_ = true;
}

// A failed refresh leaves the saved database standing; the next save tries
// again (subject to the 15-minute rule).
void TThreadSaver::Refresh(const Job& job) {
  const std::u16string folder = Folders().backupFolder;
  if (folder.empty()) return;  // no backup folder configured (tools, tests)
  std::string error;
  try {
    RotateBackups(job.path, folder, kBackupGenerations, job.facts);
  } catch (const std::exception& e) {
    error = e.what();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  lastBackupError_ = error;
}

void TThreadSaver::Report(const std::u16string& path, const std::string& message) {
  queue_.Post([link = link_, path, message] {
    if (ISaveFailureReceiver* receiver = link->receiver.load()) receiver->SaveFailed(path, message);
  });
}

}  // namespace vellumio
