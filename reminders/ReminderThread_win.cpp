#include "reminders/ReminderThread_win.h"

#include <stdexcept>

namespace vellumio::reminders {

namespace {
constexpr wchar_t kClassName[] = L"VellumioReminderThread";
constexpr UINT kScanMessage = WM_APP + 31;
}  // namespace

TReminderThread::TReminderThread(HINSTANCE instance, std::function<void()> scan, DWORD period)
    : scan_(std::move(scan)), period_(period) {
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  CreateWindowHandle(kClassName, L"", WS_POPUP, 0, RECT{0, 0, 0, 0}, HWND_MESSAGE, instance);
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &TReminderThread::Run, this, CREATE_SUSPENDED, nullptr);
  if (!stop_ || !done_ || !thread_) throw std::runtime_error("Cannot start the reminder thread");
}

TReminderThread::~TReminderThread() {
  *alive_ = false;
  Terminate();
  CloseHandle(thread_);
  CloseHandle(done_);
  CloseHandle(stop_);
}

void TReminderThread::Resume() {
  if (resumed_) return;
  resumed_ = true;
  ResumeThread(thread_);
}

void TReminderThread::Terminate() {
  SetEvent(stop_);
  if (!resumed_) Resume();  // a suspended thread has to run to see the stop
  WaitForSingleObject(thread_, INFINITE);
}

DWORD WINAPI TReminderThread::Run(void* self) {
  static_cast<TReminderThread*>(self)->Loop();
  return 0;
}

void TReminderThread::Loop() {
  const HANDLE waits[] = {stop_, done_};
  for (;;) {
    if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) return;
    if (PostMessageW(Handle(), kScanMessage, 0, 0) &&
        WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0)
      return;
    if (WaitForSingleObject(stop_, period_) == WAIT_OBJECT_0) return;
  }
}

LRESULT TReminderThread::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kScanMessage) return DefaultHandler(message, wParam, lParam);
  const std::shared_ptr<bool> alive = alive_;
  const HANDLE done = done_;
  try {
    scan_();
  } catch (...) {
    // A look that fails is forgotten; the next follows as usual.
  }
  if (*alive) SetEvent(done);
  return 0;
}

}  // namespace vellumio::reminders
