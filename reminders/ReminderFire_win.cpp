#include "reminders/ReminderFire_win.h"

#include <shellapi.h>

#include <string>

#include "base/TextUtil.h"
#include "config/Loader.h"
#include "lang/Message_win.h"
#include "platform/Platform.h"
#include "platform/Win32Text_win.h"
#include "reminders/ReminderTask.h"
#include "reminders/SoundPlayer_win.h"

namespace vellumio::reminders {

namespace {

void PlaySoundOf(const TReminderTask& reminder, TSoundPlayer* player) {
  if (!reminder.PlaySound() || !player) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  player->Loop = reminder.RepeatSound();
  player->Play(platform::FromAnsi(reminder.SoundFile()));
}

bool OpenProgram(const std::u16string& path) {
  if (!platform::FileExists(path)) return false;
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      nullptr, L"open", platform::win::W(path), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace

void FireReminder(const TReminderTask& reminder, TSoundPlayer* player, HWND owner) {
  // Copied first: the error box below runs a message loop, in which the
  // note and its reminder may be deleted.
  const bool run = reminder.RunProgram();
  const std::u16string path = platform::FromAnsi(reminder.ProgramPath());
  PlaySoundOf(reminder, player);
  if (!run || OpenProgram(path)) return;
  TuMsg::ShowMsg(IDI_HAND, u"Error", FillPlaceholder(GetText(u"fReminder", u"mRunFailed"), path),
                 u"", owner, true, false);
}

}  // namespace vellumio::reminders
