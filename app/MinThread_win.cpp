#include "app/MinThread_win.h"

#include <chrono>
#include <thread>

#include "platform/Platform.h"

namespace vellumio::app {

TMinThreads::TMinThreads(IMainThreadQueue& queue, std::function<void()> fire)
    : shared_(std::make_shared<TShared>()) {
  shared_->queue = &queue;
  shared_->fire = std::move(fire);
}

TMinThreads::~TMinThreads() { StopAndWait(); }

void TMinThreads::Start() {
  std::shared_ptr<TShared> shared = shared_;
  if (shared->terminated) return;
  shared->running.fetch_add(1);
  std::thread([shared] {
    for (int i = 0; i < 5 && !shared->terminated; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    {
      std::lock_guard<std::mutex> hold(shared->lock);
      if (!shared->terminated && shared->queue) {
        // The call holds the shared state, not the window: after
        // StopAndWait it finds no queue owner and does nothing.
        shared->queue->Post([shared] {
          if (!shared->terminated && shared->fire) shared->fire();
        });
      }
    }
    shared->running.fetch_sub(1);
  }).detach();
}

void TMinThreads::StopAndWait(int rounds) {
  shared_->terminated = true;
  for (int i = 0; i < rounds && shared_->running.load() > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    platform::ProcessMessages();
  }
  std::lock_guard<std::mutex> hold(shared_->lock);
  shared_->queue = nullptr;
}

}  // namespace vellumio::app
