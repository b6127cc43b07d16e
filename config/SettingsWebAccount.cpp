#include "config/SettingsWebAccount.h"

#include <vector>

#include "config/SettingsTable.h"

namespace vellumio {
namespace {

const std::vector<TSetting<TWebAccountSettings>>& Table() {
  using S = TWebAccountSettings;
  static const std::vector<TSetting<S>> table = {
      BoolSetting(u"UseWebSync", false, &S::UseWebSync),
      StringSetting(u"Login", u"", &S::Login),
      StringSetting(u"Password", u"", &S::Password),
      IntSetting(u"SyncInterval", 5, &S::SyncInterval),
  };
  return table;
}

}  // namespace

void TWebAccountSettings::Load(TSettingsIni& ini) {
  LoadSettings(ini, GetSection(), Table(), *this);
}

void TWebAccountSettings::Save(TSettingsIni& ini) {
  SaveSettings(ini, GetSection(), Table(), *this);
}

}  // namespace vellumio
