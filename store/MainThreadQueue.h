// Work that a background thread hands to the main thread. The user
// interface implements the queue with a posted window message (the call
// runs from the message loop); tests and the command-line tool drain a
// TManualQueue themselves.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace vellumio {

class IMainThreadQueue {
public:
  virtual ~IMainThreadQueue() = default;
  // Callable from any thread; `call` runs later on the main thread, in the
  // order posted.
  virtual void Post(std::function<void()> call) = 0;
};

// A queue whose owner runs the calls when it chooses to.
class TManualQueue : public IMainThreadQueue {
public:
  void Post(std::function<void()> call) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(std::move(call));
    }
    posted_.notify_one();
  }

  // Runs every call posted so far (and those they post); returns how many.
  int RunPending() {
    int count = 0;
    while (auto call = Take()) {
      call();
      ++count;
    }
    return count;
  }

  // Waits up to `timeout` for a call, then runs what is pending.
  int WaitAndRun(std::chrono::milliseconds timeout) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      posted_.wait_for(lock, timeout, [&] { return !calls_.empty(); });
    }
    return RunPending();
  }

  size_t PendingCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_.size();
  }

private:
  std::function<void()> Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (calls_.empty()) return {};
    auto call = std::move(calls_.front());
    calls_.pop_front();
    return call;
  }

  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> calls_;
};

}  // namespace vellumio
