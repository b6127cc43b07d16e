// Every user setting of the program, read in one place when the store is
// made and written when it goes (and whenever asked). The settings live in
// the registry, or in portable mode in "Vellumio.ini" in the program folder;
// the choice is made once, when the store is created.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "config/SettingsDatabase.h"
#include "config/SettingsGeneral.h"
#include "config/SettingsIndicator.h"
#include "config/SettingsIni.h"
#include "config/SettingsModules.h"
#include "config/SettingsReminder.h"
#include "config/SettingsWebAccount.h"

namespace vellumio {

class TStartupLink;
class TIndicatorWindow;

// What the store works with besides the folders of config/AppFolders.
struct TConfStoreServices {
  // The main window, whose place is remembered per screen resolution; may
  // be attached later (AttachIndicatorWindow).
  TIndicatorWindow* window = nullptr;
  // The Startup-folder link; null: the system's (MakeSystemStartupLink).
  TStartupLink* startupLink = nullptr;
  // The normal-mode key path under HKEY_CURRENT_USER.
  std::u16string registryKey = u"\\Software\\Vellumio";
  // Opens the normal-mode back-end for a location; null: the registry.
  // Tests put another back-end in its place.
  std::function<std::unique_ptr<TSettingsIni>(const std::u16string& location)> openRegistry;
};

class TConfStore {
public:
  enum class TIniClass { kRegistry, kPortable };

  // Chooses the back-end and loads every setting.
  explicit TConfStore(TConfStoreServices services = {});
  // Saves every setting. A failure cannot leave a destructor; call Save
  // first to see it.
  ~TConfStore();
  TConfStore(const TConfStore&) = delete;
  TConfStore& operator=(const TConfStore&) = delete;

private:
  TConfStoreServices services_;
  std::unique_ptr<TStartupLink> systemLink_;

public:
  const bool Portable;
  const std::u16string Location;  // the settings file, or the registry key path
  const TIniClass IniClass;

  TIndicatorSettings IndicatorSettings;
  TGeneralSettings GeneralSettings;
  TDatabaseSettings DatabaseSettings;
  TLangModuleValues LangModuleValues;
  TSchModuleValues SchModuleValues;
  TReminderSettings ReminderSettings;
  TWebAccountSettings WebAccountSettings;

  // The back-end errors (ESettingsError) propagate; a value that is missing,
  // of the wrong type or does not parse takes its default.
  void Load();
  void Save();
  // Only the main window's place, and only in normal mode: in portable mode
  // the place is part of the settings file written by Save.
  void LoadPosition();
  void SavePosition();
  // Attaches the main window and puts it at its remembered place (in either
  // mode: this is its first placement).
  void AttachIndicatorWindow(TIndicatorWindow* window);

  // A new back-end object for Location; the caller owns it. The remembered
  // message-box answers use it too.
  std::unique_ptr<TSettingsIni> OpenIni() const;

  // "<program folder>Vellumio.ini", whose existence means portable mode.
  static std::u16string PortableFile();

private:
  TStartupLink& Link();
};

}  // namespace vellumio
