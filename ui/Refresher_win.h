// The deferred-call queue: work that must run after the current message has
// been handled (start-up completion, caption refresh, activation checks)
// is posted here and runs later, in order, on the main thread. A call posted
// while the same one is still waiting is dropped, so a burst of requests
// costs one run.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Window_win.h"

namespace vellumio::ui {

class TRefresher final : public TWindow {
public:
  // The message that wakes the queue (WM_USER + 87).
  static constexpr UINT kRefreshMessage = WM_USER + 87;

  explicit TRefresher(HINSTANCE instance);

  // `method` names the call; while a call of that name waits, another post
  // of it does nothing.
  void Post(const std::string& method, std::function<void()> call);
  bool IsQueued(const std::string& method) const;
  size_t QueuedCount() const { return entries_.size(); }

  // Runs every waiting call now (the message handler does this; tests too).
  void Drain();

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  struct TRefresherRec {
    std::string method;
    std::function<void()> call;
  };
  std::vector<TRefresherRec> entries_;
  bool draining_ = false;
};

}  // namespace vellumio::ui
