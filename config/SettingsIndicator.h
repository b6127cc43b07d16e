// The main (docked) window's settings: section "Settings\Indicator".
#pragma once

#include <cstdint>
#include <string>

#include "config/SettingsCustom.h"
#include "config/SettingsWindow.h"

namespace vellumio {

class TIndicatorSettings : public TCustomSettings {
public:
  bool ShowNewListTab = true;
  uint32_t DockLineCol = 255;  // 0x00BBGGRR, pure red
  int32_t WinState = 0;        // 1: minimised to the notification area
  bool NoDockLine = false;
  bool HideOnLeave = true;
  int32_t FontSize = 2;  // 0 Tiny ... 5 Huge
  bool SingleClickCreate = false;
  bool ShowSubject = true;
  bool ShowReturns = false;
  int32_t DockLineTransp = 50;  // percent
  bool UseDockLineTransp = true;
  int32_t GroupMode = 0;  // 0 automatic, 1 day, 2 month, 3 year

  std::u16string GetSection() const override { return u"Settings\\Indicator"; }
  // The group's position values follow the main window, so they need one
  // attached; without a window only the other values are read and written.
  void Load(TSettingsIni& ini) override { Load(ini, false); }
  void Save(TSettingsIni& ini) override { Save(ini, false); }
  void Load(TSettingsIni& ini, bool positionOnly);
  void Save(TSettingsIni& ini, bool positionOnly);

  void AttachWindow(TIndicatorWindow* window) { window_ = window; }
  TIndicatorWindow* Window() const { return window_; }

  // The prefix of the position values for the first monitor's size, e.g.
  // "res1280x1024_"; empty without a window.
  std::u16string PositionPrefix() const;

  // The window's bounds (0 without a window).
  int32_t LeftPos() const;
  int32_t TopPos() const;
  int32_t Width() const;
  int32_t Height() const;

  // (FontSize * 6 + 17) / 3 rounded half to even, at least 9.
  int32_t NoteFontPointSize() const;

private:
  void LoadPosition(TSettingsIni& ini);
  void SavePosition(TSettingsIni& ini);

  TIndicatorWindow* window_ = nullptr;
};

}  // namespace vellumio
