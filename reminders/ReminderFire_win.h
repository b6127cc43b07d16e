// What a due reminder does besides showing its alert: the sound, then the
// program.
#pragma once

#include <windows.h>

namespace vellumio {
class TReminderTask;
}

namespace vellumio::reminders {

class TSoundPlayer;

// Plays the reminder's sound (or the information beep when it has none;
// a file that is gone beeps too) and opens its program. A program that is
// gone or that the shell cannot open is named in an error box near
// `owner`; either way the next reminder fires as usual.
void FireReminder(const TReminderTask& reminder, TSoundPlayer* player, HWND owner);

}  // namespace vellumio::reminders
