#include "reminders/SoundPlayer_win.h"

#include <mmsystem.h>

#include "platform/Platform.h"
#include "platform/Win32Text_win.h"

namespace vellumio::reminders {

namespace {

constexpr wchar_t kClassName[] = L"VellumioSoundPlayer";
constexpr wchar_t kAlias[] = L"vellumio_sound";

bool Mci(const std::wstring& command, HWND notify = nullptr) {
  return mciSendStringW(command.c_str(), nullptr, 0, notify) == 0;
}

std::wstring Mode() {
  wchar_t mode[64] = {};
  if (mciSendStringW((std::wstring(L"status ") + kAlias + L" mode").c_str(), mode, 64, nullptr))
    return {};
  return mode;
}

}  // namespace

TSoundPlayer::TSoundPlayer(HINSTANCE instance) {
  // A message-only window: it receives MCI's completion notices and never
  // shows.
  RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  CreateWindowHandle(kClassName, L"", WS_POPUP, 0, RECT{0, 0, 0, 0}, HWND_MESSAGE, instance);
}

TSoundPlayer::~TSoundPlayer() {
  *alive_ = false;
  Close();
}

void TSoundPlayer::Close() {
  if (!open_) return;
  Mci(std::wstring(L"close ") + kAlias);
  open_ = false;
}

void TSoundPlayer::Play(const std::u16string& file) {
  Close();
  if (!platform::FileExists(file)) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  open_ = Mci(L"open \"" + platform::win::WideString(file) + L"\" alias " + kAlias);
  if (!open_ || !Mci(std::wstring(L"play ") + kAlias + L" notify", Handle())) {
    // No sound device, or a file the system cannot play: the beep still
    // tells the user something happened.
    Close();
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  stopped_ = false;
}

void TSoundPlayer::Stop() {
  Close();
  Stopped();
}

void TSoundPlayer::Stopped() {
  stopped_ = true;
  if (OnStopped) OnStopped();
}

bool TSoundPlayer::IsPlaying() const { return open_ && Mode() == L"playing"; }

void TSoundPlayer::PlayedToEnd() {
  // The device reports the end a little before it has really finished; a
  // short pause (the user interface going on meanwhile) lets it settle, and
  // a Stop during the pause wins.
  const std::shared_ptr<bool> alive = alive_;
  for (int i = 0; i < 11; ++i) {
    Sleep(100);
    platform::ProcessMessages();
    if (!*alive) return;
  }
  if (!open_ || Mode() != L"stopped") return;
  if (Loop && Mci(std::wstring(L"play ") + kAlias + L" from 0 notify", Handle())) return;
  Close();
  Stopped();
}

LRESULT TSoundPlayer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MM_MCINOTIFY) {
    if (wParam == MCI_NOTIFY_SUCCESSFUL) PlayedToEnd();
    return 0;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace vellumio::reminders
