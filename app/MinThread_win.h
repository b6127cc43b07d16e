// The auto-minimise threads: when the program is deactivated while the
// main window is free (not docked), a short thread waits half a second and
// then asks the main thread to minimise the window, unless the user came
// back in the meantime. The threads only sleep; their work runs on the main
// thread, and the main window waits for them before it goes.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "store/MainThreadQueue.h"

namespace vellumio::app {

class TMinThreads {
public:
  // `fire` runs on the main thread through `queue`.
  TMinThreads(IMainThreadQueue& queue, std::function<void()> fire);
  ~TMinThreads();

  // One TMinThread: 500 ms (the stop flag checked every 100 ms), then `fire`.
  void Start();
  int Running() const { return shared_->running.load(); }

  // Stops the waiting threads and waits for them: at most `rounds` rounds
  // of 100 ms, processing messages between rounds. Nothing fires after it.
  void StopAndWait(int rounds = 31);

private:
  struct TShared {
    std::mutex lock;
    IMainThreadQueue* queue = nullptr;  // null once stopped
    std::function<void()> fire;
    std::atomic<bool> terminated{false};
    std::atomic<int> running{0};
  };
  std::shared_ptr<TShared> shared_;
};

}  // namespace vellumio::app
