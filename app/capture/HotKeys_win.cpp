#include "app/capture/HotKeys_win.h"

#include "app/capture/CaptureText.h"
#include "config/SettingsGeneral.h"

namespace vellumio::capture {

void RegisterHotKeys(HWND window, const TSWHotKeys& keys) {
  if (!keys.Enabled) return;
  const uint16_t words[] = {keys.GeneralKey, keys.HideKey, keys.ReminderKey, keys.QuoteKey};
  for (int id = kHotKeyGeneral; id <= kHotKeyQuote; ++id) {
    const THotKeyCode code = HotKeyCodeOf(words[id]);
    if (code.virtualKey != 0) RegisterHotKey(window, id, code.modifiers, code.virtualKey);
  }
}

void UnregisterHotKeys(HWND window) {
  for (int id = kHotKeyGeneral; id <= kHotKeyQuote; ++id) UnregisterHotKey(window, id);
}

}  // namespace vellumio::capture
