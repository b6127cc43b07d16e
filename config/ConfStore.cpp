#include "config/ConfStore.h"

#include "config/AppFolders.h"
#include "config/PortableIni.h"
#include "config/StartupLink.h"
#include "platform/Platform.h"
#ifdef _WIN32
#include "config/RegistryIni.h"
#endif

namespace vellumio {
namespace {

std::unique_ptr<TSettingsIni> OpenSystemRegistry(const std::u16string& location) {
#ifdef _WIN32
  return OpenRegistryIni(location);
#else
  throw ESettingsError("There is no registry on this platform");
#endif
}

bool PortableFileExists() {
  return !Folders().programFolder.empty() && platform::FileExists(TConfStore::PortableFile());
}

}  // namespace

TConfStore::TConfStore(TConfStoreServices services)
    : services_(std::move(services)),
      systemLink_(services_.startupLink ? nullptr : MakeSystemStartupLink()),
      Portable(PortableFileExists()),
      Location(Portable ? PortableFile() : services_.registryKey),
      IniClass(Portable ? TIniClass::kPortable : TIniClass::kRegistry),
      GeneralSettings(Link()),
      DatabaseSettings(Folders().dataFolder, Portable) {
  IndicatorSettings.AttachWindow(services_.window);
  Load();
}

TConfStore::~TConfStore() {
  try {
    Save();
  } catch (const std::exception&) {
    // Nothing can report it while the program ends.
  }
}

std::u16string TConfStore::PortableFile() { return Folders().programFolder + u"Vellumio.ini"; }

TStartupLink& TConfStore::Link() {
  return services_.startupLink ? *services_.startupLink : *systemLink_;
}

std::unique_ptr<TSettingsIni> TConfStore::OpenIni() const {
  if (Portable) return std::make_unique<TPortableIni>(Location);
  if (services_.openRegistry) return services_.openRegistry(Location);
  return OpenSystemRegistry(Location);
}

void TConfStore::Load() {
  const std::unique_ptr<TSettingsIni> ini = OpenIni();
  IndicatorSettings.Load(*ini, false);
  GeneralSettings.Load(*ini);
  DatabaseSettings.Load(*ini);
  LangModuleValues.Load(*ini);
  SchModuleValues.Load(*ini);
  ReminderSettings.Load(*ini);
  WebAccountSettings.Load(*ini);
  // A portable installation carries its database with it, wherever the
  // file says it was.
  if (Portable) DatabaseSettings.SetDatabaseFile(Folders().programFolder + u"notes.sbn");
}

void TConfStore::Save() {
  const std::unique_ptr<TSettingsIni> ini = OpenIni();
  IndicatorSettings.Save(*ini, false);
  GeneralSettings.Save(*ini);
  DatabaseSettings.Save(*ini);
  LangModuleValues.Save(*ini);
  SchModuleValues.Save(*ini);
  ReminderSettings.Save(*ini);
  WebAccountSettings.Save(*ini);
  ini->UpdateFile();
}

void TConfStore::LoadPosition() {
  if (Portable) return;
  IndicatorSettings.Load(*OpenIni(), true);
}

void TConfStore::SavePosition() {
  if (Portable) return;
  const std::unique_ptr<TSettingsIni> ini = OpenIni();
  IndicatorSettings.Save(*ini, true);
  ini->UpdateFile();
}

void TConfStore::AttachIndicatorWindow(TIndicatorWindow* window) {
  IndicatorSettings.AttachWindow(window);
  if (window) IndicatorSettings.Load(*OpenIni(), true);
}

}  // namespace vellumio
