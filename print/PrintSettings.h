// The print settings under "Settings\AdvPrint": margins in hundredths of an
// inch and the text size in points. The print dialog reads them before
// every print and writes them back; the command-line tool prints with the
// defaults.
#pragma once

#include <string>

#include "config/SettingsCustom.h"
#include "print/PrintLayout.h"

namespace vellumio {

class TPrintSettings : public TCustomSettings {
public:
  int MrgLeft = 75;
  int MrgTop = 75;
  int MrgRight = 50;
  int MrgBottom = 100;
  int FontSize = 8;

  std::u16string GetSection() const override { return u"Settings\\AdvPrint"; }
  void Load(TSettingsIni& ini) override;
  void Save(TSettingsIni& ini) override;

  // The margins in inches, as the print routine takes them.
  TPrintMargins Margins() const;
};

}  // namespace vellumio
