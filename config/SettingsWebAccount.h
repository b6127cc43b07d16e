// Section "Settings\WebAccount": carried from load to save unchanged; no
// part of the program uses these values yet.
#pragma once

#include <cstdint>
#include <string>

#include "config/SettingsCustom.h"

namespace vellumio {

class TWebAccountSettings : public TCustomSettings {
public:
  bool UseWebSync = false;
  std::u16string Login;
  std::u16string Password;  // as entered
  int32_t SyncInterval = 5;

  std::u16string GetSection() const override { return u"Settings\\WebAccount"; }
  void Load(TSettingsIni& ini) override;
  void Save(TSettingsIni& ini) override;
};

}  // namespace vellumio
