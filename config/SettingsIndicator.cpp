#include "config/SettingsIndicator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "config/SettingsTable.h"

namespace vellumio {
namespace {

// In the order of saving. FontSize reads -1 when absent, which sends the
// reader to the older LargeFonts value.
const std::vector<TSetting<TIndicatorSettings>>& Table() {
  using S = TIndicatorSettings;
  static const std::vector<TSetting<S>> table = {
      BoolSetting(u"ShowNewListTab", true, &S::ShowNewListTab),
      BoolSetting(u"SingleClickCreate", false, &S::SingleClickCreate),
      IntSetting(u"FontSize", -1, &S::FontSize),
      IntSetting(u"DockLineCol", 255, &S::DockLineCol),
      IntSetting(u"DockLineTransp", 50, &S::DockLineTransp),
      BoolSetting(u"UseDockLineTransp", true, &S::UseDockLineTransp),
      IntSetting(u"GroupMode", 0, &S::GroupMode),
      IntSetting(u"WinState", 0, &S::WinState),
      BoolSetting(u"NoDockLine", false, &S::NoDockLine),
      BoolSetting(u"HideOnLeave", true, &S::HideOnLeave),
      BoolSetting(u"ShowSubject", true, &S::ShowSubject),
      BoolSetting(u"ShowReturns", false, &S::ShowReturns),
  };
  return table;
}

std::u16string Decimal(int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

void TIndicatorSettings::Load(TSettingsIni& ini, bool positionOnly) {
  LoadPosition(ini);
  if (positionOnly) return;
  LoadSettings(ini, GetSection(), Table(), *this);
  // Only read, never written: the size setting of older versions.
  if (FontSize == -1) FontSize = ini.ReadBool(GetSection(), u"LargeFonts", true) ? 2 : 0;
}

void TIndicatorSettings::Save(TSettingsIni& ini, bool positionOnly) {
  SavePosition(ini);
  if (positionOnly) return;
  SaveSettings(ini, GetSection(), Table(), *this);
}

std::u16string TIndicatorSettings::PositionPrefix() const {
  if (!window_) return {};
  const TScreenRect monitor = window_->FirstMonitor();
  return u"res" + Decimal(monitor.width) + u"x" + Decimal(monitor.height) + u"_";
}

void TIndicatorSettings::LoadPosition(TSettingsIni& ini) {
  if (!window_) return;
  const std::u16string prefix = PositionPrefix();
  const std::u16string section = GetSection();
  const TScreenRect monitor = window_->FirstMonitor();
  const TScreenRect bounds = window_->Bounds();
  // Hidden while it moves, so that it does not jump about on the screen.
  const bool wasVisible = window_->Visible();
  if (wasVisible) window_->Hide();
  const int32_t defaultLeft = monitor.left + monitor.width - bounds.width - 3;
  window_->SetLeft(ini.ReadInteger(section, prefix + u"LeftPos", defaultLeft));
  window_->SetTop(ini.ReadInteger(section, prefix + u"TopPos", monitor.top + 100));
  window_->SetWidth(ini.ReadInteger(section, prefix + u"Width", bounds.width));
  window_->SetHeight(ini.ReadInteger(section, prefix + u"Height", bounds.height));
  if (wasVisible) window_->ShowNoActivate();
}

void TIndicatorSettings::SavePosition(TSettingsIni& ini) {
  if (!window_) return;
  const std::u16string prefix = PositionPrefix();
  const std::u16string section = GetSection();
  const TScreenRect bounds = window_->Bounds();
  ini.WriteInteger(section, prefix + u"LeftPos", bounds.left);
  ini.WriteInteger(section, prefix + u"TopPos", bounds.top);
  ini.WriteInteger(section, prefix + u"Width", bounds.width);
  ini.WriteInteger(section, prefix + u"Height", bounds.height);
}

int32_t TIndicatorSettings::LeftPos() const { return window_ ? window_->Bounds().left : 0; }
int32_t TIndicatorSettings::TopPos() const { return window_ ? window_->Bounds().top : 0; }
int32_t TIndicatorSettings::Width() const { return window_ ? window_->Bounds().width : 0; }
int32_t TIndicatorSettings::Height() const { return window_ ? window_->Bounds().height : 0; }

int32_t TIndicatorSettings::NoteFontPointSize() const {
  // nearbyint rounds an exact half to the even neighbour.
  const auto size = static_cast<int32_t>(std::nearbyint((FontSize * 6.0 + 17.0) / 3.0));
  return std::max(size, 9);
}

}  // namespace vellumio
