// The stored values of the language and colour-scheme modules (sections
// "LangModule" and "ColorScheme"). The modules themselves scan their folders
// and load the files; the store only keeps what the user chose.
#pragma once

#include <string>

#include "config/SettingsCustom.h"

namespace vellumio {

class TLangModuleValues : public TCustomSettings {
public:
  std::u16string CurrentLanguage = u"english.lng";  // a file name in the languages folder
  // Set when the language changed (and on a first run): the main window
  // shows its start-up hint once and clears it.
  bool IsLangModified = true;

  std::u16string GetSection() const override { return u"LangModule"; }
  void Load(TSettingsIni& ini) override;
  void Save(TSettingsIni& ini) override;
};

class TSchModuleValues : public TCustomSettings {
public:
  std::u16string CurrentScheme = u"vellumio.sch";  // a file name in the schemes folder

  std::u16string GetSection() const override { return u"ColorScheme"; }
  void Load(TSettingsIni& ini) override;
  void Save(TSettingsIni& ini) override;
};

}  // namespace vellumio
