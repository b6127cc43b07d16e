#include "ui/Refresher_win.h"

#include <algorithm>

namespace vellumio::ui {

namespace {
constexpr wchar_t kClassName[] = L"TRefMsgWindow";
}

TRefresher::TRefresher(HINSTANCE instance) {
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  // A hidden window of its own (not message-only: it is parented to the
  // desktop like every ordinary hidden window, so broadcasts reach it too).
  CreateWindowHandle(kClassName, L"", WS_POPUP, 0, RECT{0, 0, 0, 0}, nullptr, instance);
}

bool TRefresher::IsQueued(const std::string& method) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const TRefresherRec& e) { return e.method == method; });
}

void TRefresher::Post(const std::string& method, std::function<void()> call) {
  if (IsQueued(method)) return;
  entries_.push_back({method, std::move(call)});
  PostMessageW(Handle(), kRefreshMessage, 0, 0);
}

void TRefresher::Drain() {
  // A call that pumps messages (a dialog) must not start the queue again
  // from inside itself.
  if (draining_) return;
  draining_ = true;
  while (!entries_.empty()) {
    // The entry stays queued while it runs, so a post of the same call from
    // inside it collapses into this run.
    std::function<void()> call = entries_.front().call;
    try {
      call();
    } catch (...) {
      entries_.erase(entries_.begin());
      draining_ = false;
      throw;
    }
    entries_.erase(entries_.begin());
  }
  draining_ = false;
}

LRESULT TRefresher::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRefreshMessage) {
    Drain();
    return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::ui
