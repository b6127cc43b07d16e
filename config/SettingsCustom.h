// The base of every group of settings: one section of the back-end.
#pragma once

#include <string>

namespace vellumio {

class TSettingsIni;

class TCustomSettings {
public:
  virtual ~TCustomSettings() = default;
  virtual std::u16string GetSection() const = 0;
  virtual void Load(TSettingsIni& ini) = 0;
  virtual void Save(TSettingsIni& ini) = 0;
};

}  // namespace vellumio
