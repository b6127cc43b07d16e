#include "config/SettingsReminder.h"

#include <stdexcept>
#include <vector>

#include "base/Stream.h"
#include "config/Base64.h"
#include "config/SettingsTable.h"

namespace vellumio {
namespace {

const std::vector<TSetting<TReminderSettings>>& Table() {
  using S = TReminderSettings;
  static const std::vector<TSetting<S>> table = [] {
    TSetting<S> record{u"DefReminder", TSettingKind::kString};
    record.stringDefault = [](const S&) { return std::u16string(); };
    record.getString = [](const S& s) { return s.EncodeDefault(); };
    record.setString = [](S& s, const std::u16string& text) { s.DecodeDefault(text); };
    return std::vector<TSetting<S>>{record};
  }();
  return table;
}

}  // namespace

TReminderSettings::TReminderSettings() { TReminderTask::SetUserDefault(&DefaultReminder); }

TReminderSettings::~TReminderSettings() {
  if (TReminderTask::UserDefault() == &DefaultReminder) TReminderTask::SetUserDefault(nullptr);
}

void TReminderSettings::Load(TSettingsIni& ini) { LoadSettings(ini, GetSection(), Table(), *this); }

void TReminderSettings::Save(TSettingsIni& ini) { SaveSettings(ini, GetSection(), Table(), *this); }

std::u16string TReminderSettings::EncodeDefault() const {
  TMemoryStream stream;
  // Writing the record only clears the task's Modified flag, as saving
  // should; the object itself is never const.
  const_cast<TReminderTask&>(DefaultReminder).SaveToStream(stream);
  return EncodeBase64(stream.Bytes());
}

void TReminderSettings::DecodeDefault(const std::u16string& text) {
  DefaultReminder.Reset();
  if (text.empty()) return;
  std::optional<std::vector<uint8_t>> bytes = DecodeBase64(text);
  if (!bytes) return;
  try {
    TMemoryStream stream(std::move(*bytes));
    DefaultReminder.LoadFromStream(stream);
  } catch (const std::exception&) {
    DefaultReminder.Reset();
  }
}

}  // namespace vellumio
