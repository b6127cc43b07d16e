#include "print/PrintSettings.h"

#include <vector>

#include "config/SettingsTable.h"

namespace vellumio {
namespace {

const std::vector<TSetting<TPrintSettings>>& Table() {
  using S = TPrintSettings;
  static const std::vector<TSetting<S>> table = {
      IntSetting(u"MrgLeft", 75, &S::MrgLeft),   IntSetting(u"MrgTop", 75, &S::MrgTop),
      IntSetting(u"MrgRight", 50, &S::MrgRight), IntSetting(u"MrgBottom", 100, &S::MrgBottom),
      IntSetting(u"FontSize", 8, &S::FontSize),
  };
  return table;
}

}  // namespace

void TPrintSettings::Load(TSettingsIni& ini) { LoadSettings(ini, GetSection(), Table(), *this); }

void TPrintSettings::Save(TSettingsIni& ini) { SaveSettings(ini, GetSection(), Table(), *this); }

TPrintMargins TPrintSettings::Margins() const {
  return {MrgLeft / 100.0f, MrgTop / 100.0f, MrgRight / 100.0f, MrgBottom / 100.0f};
}

}  // namespace vellumio
