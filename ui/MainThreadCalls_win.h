// Calls from other threads (the saver's failure report, the auto-minimise
// threads) onto the main thread: queued under a lock and run by a posted
// message, so the thread that posts never waits for the window.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <vector>

#include "store/MainThreadQueue.h"
#include "ui/Window_win.h"

namespace vellumio::ui {

class TMainThreadCalls final : public TWindow, public IMainThreadQueue {
public:
  static constexpr UINT kRunMessage = WM_APP + 21;

  explicit TMainThreadCalls(HINSTANCE instance);

  // From any thread.
  void Post(std::function<void()> call) override;
  // Runs what is queued (on the main thread).
  void RunQueued();

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  std::mutex lock_;
  std::vector<std::function<void()>> calls_;
};

}  // namespace vellumio::ui
