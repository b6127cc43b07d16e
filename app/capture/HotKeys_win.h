// The program's four global hot keys on the main window: id 0 the general
// key (show, new note, hide), 1 hide and return, 2 new reminder, 3 capture.
#pragma once

#include <windows.h>

namespace vellumio {
class TSWHotKeys;
}

namespace vellumio::capture {

enum THotKeyId : int { kHotKeyGeneral = 0, kHotKeyHide = 1, kHotKeyReminder = 2, kHotKeyQuote = 3 };

// Nothing when the hot keys are switched off; a key another program holds
// simply does not work.
void RegisterHotKeys(HWND window, const TSWHotKeys& keys);
// Always all four, whatever the settings say now: keys registered before
// the user switched them off must go too.
void UnregisterHotKeys(HWND window);

}  // namespace vellumio::capture
