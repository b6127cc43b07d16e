#include "config/SettingsModules.h"

#include <vector>

#include "config/SettingsTable.h"

namespace vellumio {
namespace {

const std::vector<TSetting<TLangModuleValues>>& LangTable() {
  using S = TLangModuleValues;
  static const std::vector<TSetting<S>> table = {
      StringSetting(u"CurrentLanguage", u"english.lng", &S::CurrentLanguage),
      BoolSetting(u"IsLangModified", true, &S::IsLangModified),
  };
  return table;
}

const std::vector<TSetting<TSchModuleValues>>& SchemeTable() {
  using S = TSchModuleValues;
  static const std::vector<TSetting<S>> table = {
      StringSetting(u"CurrentScheme", u"vellumio.sch", &S::CurrentScheme),
  };
  return table;
}

}  // namespace

void TLangModuleValues::Load(TSettingsIni& ini) {
  LoadSettings(ini, GetSection(), LangTable(), *this);
}

void TLangModuleValues::Save(TSettingsIni& ini) {
  SaveSettings(ini, GetSection(), LangTable(), *this);
}

void TSchModuleValues::Load(TSettingsIni& ini) {
  LoadSettings(ini, GetSection(), SchemeTable(), *this);
}

void TSchModuleValues::Save(TSettingsIni& ini) {
  SaveSettings(ini, GetSection(), SchemeTable(), *this);
}

}  // namespace vellumio
