// Section "Settings\DefaultReminder": the reminder that new reminders start
// from, kept as the Base64 text of its stream record.
#pragma once

#include <string>

#include "config/SettingsCustom.h"
#include "reminders/ReminderTask.h"

namespace vellumio {

class TReminderSettings : public TCustomSettings {
public:
  // Registers DefaultReminder as the one new tasks copy their settings from.
  TReminderSettings();
  ~TReminderSettings() override;
  TReminderSettings(const TReminderSettings&) = delete;
  TReminderSettings& operator=(const TReminderSettings&) = delete;

  TReminderTask DefaultReminder{true};

  std::u16string GetSection() const override { return u"Settings\\DefaultReminder"; }
  void Load(TSettingsIni& ini) override;
  void Save(TSettingsIni& ini) override;

  // The stored text of the default reminder, and back. A text that is not
  // Base64 or not a reminder record leaves the cleared reminder, silently:
  // a damaged value must not cost the user anything but this default.
  std::u16string EncodeDefault() const;
  void DecodeDefault(const std::u16string& text);
};

}  // namespace vellumio
