#include "ui/MainThreadCalls_win.h"

namespace vellumio::ui {

namespace {
constexpr wchar_t kClassName[] = L"VellumioMainThreadCalls";
}

TMainThreadCalls::TMainThreadCalls(HINSTANCE instance) {
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  CreateWindowHandle(kClassName, L"", WS_POPUP, 0, RECT{0, 0, 0, 0}, HWND_MESSAGE, instance);
}

void TMainThreadCalls::Post(std::function<void()> call) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back(std::move(call));
  }
  PostMessageW(Handle(), kRunMessage, 0, 0);
}

void TMainThreadCalls::RunQueued() {
  std::vector<std::function<void()>> calls;
  {
    std::lock_guard<std::mutex> hold(lock_);
    calls.swap(calls_);
  }
  for (auto& call : calls) call();
}

LRESULT TMainThreadCalls::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunMessage) {
    RunQueued();
    return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::ui
