#include "config/SettingsGeneral.h"

#include <cmath>
#include <vector>

#include "config/SettingsTable.h"
#include "config/StartupLink.h"

namespace vellumio {
namespace {

const std::vector<TSetting<TSWHotKeys>>& HotKeyTable() {
  using S = TSWHotKeys;
  static const std::vector<TSetting<S>> table = {
      IntSetting(u"HideKey", 0x604D, &S::HideKey),
      IntSetting(u"GeneralKey", 0x604E, &S::GeneralKey),
      IntSetting(u"ReminderKey", 0x604A, &S::ReminderKey),
      IntSetting(u"QuoteKey", 0x6051, &S::QuoteKey),
      BoolSetting(u"Enabled", true, &S::Enabled),
  };
  return table;
}

// Stored as whole days since 1899-12-30; read back as midnight of that day.
TSetting<TGeneralSettings> CheckDateSetting() {
  TSetting<TGeneralSettings> s{u"CheckDate", TSettingKind::kInteger, 0};
  s.getInt = [](const TGeneralSettings& g) {
    return static_cast<int32_t>(std::trunc(g.CheckDate));
  };
  s.setInt = [](TGeneralSettings& g, int32_t days) { g.CheckDate = days; };
  return s;
}

// The values after the hot keys (TrayIcon comes before them).
const std::vector<TSetting<TGeneralSettings>>& Table() {
  using S = TGeneralSettings;
  static const std::vector<TSetting<S>> table = {
      BoolSetting(u"AdvPrint", true, &S::AdvPrint),
      BoolSetting(u"CheckUpdates", true, &S::CheckUpdates),
      CheckDateSetting(),
  };
  return table;
}

const TSetting<TGeneralSettings>& TrayIconSetting() {
  static const TSetting<TGeneralSettings> setting =
      BoolSetting(u"TrayIcon", true, &TGeneralSettings::TrayIcon);
  return setting;
}

}  // namespace

void TSWHotKeys::Load(TSettingsIni& ini) { LoadSettings(ini, GetSection(), HotKeyTable(), *this); }

void TSWHotKeys::Save(TSettingsIni& ini) { SaveSettings(ini, GetSection(), HotKeyTable(), *this); }

void TGeneralSettings::Load(TSettingsIni& ini) {
  LoadSetting(ini, GetSection(), TrayIconSetting(), *this);
  HotKeys.Load(ini);
  LoadSettings(ini, GetSection(), Table(), *this);
  UpdateUrl = ini.ReadString(GetSection(), u"UpdateUrl", u"");
  RunAtStartup = startupLink_.Supported() && startupLink_.Exists();
}

void TGeneralSettings::Save(TSettingsIni& ini) {
  SaveSetting(ini, GetSection(), TrayIconSetting(), *this);
  HotKeys.Save(ini);
  SaveSettings(ini, GetSection(), Table(), *this);
  if (!startupLink_.Supported()) return;
  const bool present = startupLink_.Exists();
  if (present == RunAtStartup) return;
  if (present) startupLink_.Remove();
  if (RunAtStartup) startupLink_.Create();
}

}  // namespace vellumio
