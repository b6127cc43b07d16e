// The program's one sound player: plays a reminder's sound through the
// system's multimedia command interface (MCI), once or in a loop, and says
// when it has stopped by itself. It lives as long as the main window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/Window_win.h"

namespace vellumio::reminders {

class TSoundPlayer final : public ui::TWindow {
public:
  explicit TSoundPlayer(HINSTANCE instance);
  ~TSoundPlayer() override;

  // Stops what plays and plays `file`; a file that does not exist (or that
  // the system cannot play) gives the information beep instead.
  void Play(const std::u16string& file);
  void Stop();
  bool IsStopped() const { return stopped_; }
  // The media device is in its playing mode.
  bool IsPlaying() const;

  bool Loop = false;
  // Raised when the sound ends by itself or is stopped; the reminder
  // editor's play button follows it. One receiver at a time.
  std::function<void()> OnStopped;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void Close();
  void PlayedToEnd();
  void Stopped();

  bool open_ = false;
  bool stopped_ = true;
  // Shared with the pause after a completion: a player freed meanwhile
  // (the program ending during the pause) is not touched afterwards.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vellumio::reminders
