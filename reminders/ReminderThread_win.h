// The reminder thread: every five seconds it wakes the main thread for a
// look at the reminders (the look itself runs there, see ReminderScan.h)
// and waits until that look, with any alert it raised, is over. So the
// next look follows five seconds after an alert closes, one alert is open
// at a time, and the thread never touches the database.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "ui/Window_win.h"

namespace vellumio::reminders {

class TReminderThread final : public ui::TWindow {
public:
  static constexpr DWORD kPeriod = 5000;

  // Made suspended; `scan` runs on the thread that makes this object.
  TReminderThread(HINSTANCE instance, std::function<void()> scan, DWORD period = kPeriod);
  // Terminates the thread and waits for it.
  ~TReminderThread() override;

  void Resume();
  void Terminate();

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  static DWORD WINAPI Run(void* self);
  void Loop();

  std::function<void()> scan_;
  DWORD period_;
  HANDLE stop_ = nullptr;
  HANDLE done_ = nullptr;
  HANDLE thread_ = nullptr;
  bool resumed_ = false;
  // A look still running when this object goes (the program ends while an
  // alert is open) must not signal through it afterwards.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vellumio::reminders
