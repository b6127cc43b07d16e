// Section "Settings\Database": which database file the program opens.
#pragma once

#include <string>

#include "config/SettingsCustom.h"

namespace vellumio {

class TDatabaseSettings : public TCustomSettings {
public:
  // `documentsFolder` (with its trailing separator) holds the default
  // database; in portable mode every location counts as the default one.
  TDatabaseSettings(std::u16string documentsFolder, bool portable)
      : documentsFolder_(std::move(documentsFolder)), portable_(portable) {}

  std::u16string GetSection() const override { return u"Settings\\Database"; }
  void Load(TSettingsIni& ini) override;
  void Save(TSettingsIni& ini) override;

  const std::u16string& DatabaseFile() const { return databaseFile_; }
  // Every assignment comes here: a name whose extension is not ".sbn" (in
  // any case) gets ".sbn" appended, so "x.dat" becomes "x.dat.sbn".
  void SetDatabaseFile(const std::u16string& name);

  // documents folder + "notes.sbn".
  std::u16string DefaultDatabaseFile() const;
  // The exact default path (case matters), or any path in portable mode.
  bool IsDefaultLocation() const;
  // Creates an empty database at the default location when there is none
  // yet; true when it did. A database elsewhere is never created unasked.
  bool EnsureDatabase();
  // The folder of the database file made absolute against the current
  // folder, without a trailing separator.
  std::u16string DatabaseFolder() const;

private:
  std::u16string documentsFolder_;
  bool portable_;
  std::u16string databaseFile_;
};

}  // namespace vellumio
