#include "config/SettingsDatabase.h"

#include <filesystem>
#include <vector>

#include "config/SettingsTable.h"
#include "platform/Platform.h"
#include "store/NoteListCollection.h"

namespace vellumio {
namespace {

const std::vector<TSetting<TDatabaseSettings>>& Table() {
  using S = TDatabaseSettings;
  TSetting<S> file{u"DatabaseFile", TSettingKind::kString};
  file.stringDefault = [](const S& s) { return s.DefaultDatabaseFile(); };
  file.getString = [](const S& s) { return s.DatabaseFile(); };
  file.setString = [](S& s, const std::u16string& name) { s.SetDatabaseFile(name); };
  static const std::vector<TSetting<S>> table = {file};
  return table;
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The extension with its dot, as the last dot after the last separator
// starts it; empty when there is none.
std::u16string_view Extension(std::u16string_view name) {
  const size_t dot = name.find_last_of(u'.');
  if (dot == std::u16string_view::npos) return {};
  for (size_t i = dot + 1; i < name.size(); ++i)
    if (IsSeparator(name[i]) || name[i] == u':') return {};
  return name.substr(dot);
}

}  // namespace

void TDatabaseSettings::Load(TSettingsIni& ini) { LoadSettings(ini, GetSection(), Table(), *this); }

void TDatabaseSettings::Save(TSettingsIni& ini) { SaveSettings(ini, GetSection(), Table(), *this); }

void TDatabaseSettings::SetDatabaseFile(const std::u16string& name) {
  if (platform::LowerCase(Extension(name)) == u".sbn")
    databaseFile_ = name;
  else
    databaseFile_ = name + u".sbn";
}

std::u16string TDatabaseSettings::DefaultDatabaseFile() const {
  return documentsFolder_ + u"notes.sbn";
}

bool TDatabaseSettings::IsDefaultLocation() const {
  return portable_ || databaseFile_ == DefaultDatabaseFile();
}

bool TDatabaseSettings::EnsureDatabase() {
  if (!IsDefaultLocation() || platform::FileExists(databaseFile_)) return false;
  // Lightweight: the empty file must not take over the program's identities.
  TNoteListCollection empty(true);
  empty.SaveToFile(databaseFile_);
  return true;
}

std::u16string TDatabaseSettings::DatabaseFolder() const {
  std::error_code failed;
  const std::filesystem::path full = std::filesystem::absolute(databaseFile_, failed);
  const std::u16string path = failed ? databaseFile_ : full.u16string();
  return platform::ExtractFileDir(path);
}

}  // namespace vellumio
