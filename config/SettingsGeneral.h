// Sections "Settings\General" and "Settings\General\HotKeys".
#pragma once

#include <cstdint>
#include <string>

#include "config/SettingsCustom.h"

namespace vellumio {

class TStartupLink;

// Shortcut codes: the virtual-key code in the low byte, plus 0x2000 Shift,
// 0x4000 Ctrl, 0x8000 Alt; 0 is no key.
class TSWHotKeys : public TCustomSettings {
public:
  uint16_t HideKey = 0x604D;      // Ctrl+Shift+M
  uint16_t GeneralKey = 0x604E;   // Ctrl+Shift+N
  uint16_t ReminderKey = 0x604A;  // Ctrl+Shift+J
  uint16_t QuoteKey = 0x6051;     // Ctrl+Shift+Q
  bool Enabled = true;

  std::u16string GetSection() const override { return u"Settings\\General\\HotKeys"; }
  void Load(TSettingsIni& ini) override;
  void Save(TSettingsIni& ini) override;
};

class TGeneralSettings : public TCustomSettings {
public:
  // The link is not a stored value: RunAtStartup mirrors its presence.
  explicit TGeneralSettings(TStartupLink& startupLink) : startupLink_(startupLink) {}

  bool TrayIcon = true;
  bool AdvPrint = true;
  bool CheckUpdates = true;
  // The day of the last automatic update-check decision, a date-time; only
  // its whole days are stored.
  double CheckDate = 0;
  bool RunAtStartup = false;
  // The update service's address (scheme and host) instead of the built-in
  // one; empty for the built-in one. Only read: administrators and tests
  // put it there, the program never writes it.
  std::u16string UpdateUrl;
  TSWHotKeys HotKeys;

  std::u16string GetSection() const override { return u"Settings\\General"; }
  void Load(TSettingsIni& ini) override;
  // Touches the link only when RunAtStartup differs from its presence.
  void Save(TSettingsIni& ini) override;

  TStartupLink& StartupLink() const { return startupLink_; }

private:
  TStartupLink& startupLink_;
};

}  // namespace vellumio
