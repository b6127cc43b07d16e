// The test doubles of the saver tests: a file system over the real files
// that can fail any one step of a save, hold a save half-way, and log what
// was written; a failure receiver that counts.
#pragma once

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/FileOps.h"
#include "store/SaveFailure.h"
#include "store/SaverFileSystem.h"

namespace vellumio::test {

enum class SaveStep { kNone, kFolder, kCreate, kWrite, kFlush, kClose, kMove };

class TFaultyFileSystem : public ISaverFileSystem {
public:
  SaveStep failAt = SaveStep::kNone;
  int busyMoves = 0;  // the first this many moves report a busy file

  // Makes the next save wait in its first step until Release.
  void HoldNextSave() {
    std::lock_guard<std::mutex> lock(mutex_);
    hold_ = true;
  }
  // Waits until a held save has reached its first step.
  void WaitUntilHeld() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return held_; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    hold_ = held_ = false;
    changed_.notify_all();
  }
  // The snapshots that were written, in order.
  std::vector<std::string> Written() {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
  }
  int Moves() {
    std::lock_guard<std::mutex> lock(mutex_);
    return moves_;
  }

  void CreateFolders(const std::u16string& folder) override {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (hold_) {
        held_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !hold_; });
      }
    }
    Fail(SaveStep::kFolder);
    RealSaverFileSystem().CreateFolders(folder);
  }
  std::unique_ptr<ISaverFile> Create(const std::u16string& path) override {
    Fail(SaveStep::kCreate);
    return std::make_unique<File>(*this, RealSaverFileSystem().Create(path));
  }
  void MoveReplacing(const std::u16string& from, const std::u16string& to) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++moves_;
      if (busyMoves > 0) {
        --busyMoves;
        throw platform::FileBusyError("injected: the file is in use by another program");
      }
    }
    Fail(SaveStep::kMove);
    RealSaverFileSystem().MoveReplacing(from, to);
  }
  void Remove(const std::u16string& path) override { RealSaverFileSystem().Remove(path); }

private:
  class File : public ISaverFile {
  public:
    File(TFaultyFileSystem& owner, std::unique_ptr<ISaverFile> real)
        : owner_(owner), real_(std::move(real)) {}
    void Write(const void* data, size_t size) override {
      owner_.Fail(SaveStep::kWrite);
      real_->Write(data, size);
      std::lock_guard<std::mutex> lock(owner_.mutex_);
      owner_.written_.emplace_back(static_cast<const char*>(data), size);
    }
    void Flush() override {
      owner_.Fail(SaveStep::kFlush);
      real_->Flush();
    }
    void Close() override {
      owner_.Fail(SaveStep::kClose);
      real_->Close();
    }

  private:
    TFaultyFileSystem& owner_;
    std::unique_ptr<ISaverFile> real_;
  };

  void Fail(SaveStep step) {
    if (failAt == step) throw std::runtime_error("injected failure");
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  bool hold_ = false, held_ = false;
  int moves_ = 0;
  std::vector<std::string> written_;
};

// Counts the failures that reached the main thread.
class TCountingReceiver : public ISaveFailureReceiver {
public:
  void SaveFailed(const std::u16string& path, const std::string& message) override {
    ++count;
    lastPath = path;
    lastMessage = message;
  }
  int count = 0;
  std::u16string lastPath;
  std::string lastMessage;
};

}  // namespace vellumio::test
