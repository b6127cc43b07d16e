// Every stored setting of a group is declared once, in the group's table:
// its name, kind and default, and how it reaches the group's field. Load
// and Save walk the table, so the registry and the portable file cannot
// drift apart and a new setting needs one line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/SettingsIni.h"

namespace vellumio {

enum class TSettingKind { kInteger, kBoolean, kString };

template <class G>
struct TSetting {
  std::u16string name;
  TSettingKind kind = TSettingKind::kInteger;
  // Integers and booleans (0/1) use intDefault, strings stringDefault; a
  // default that depends on the group (the database path) is computed.
  int32_t intDefault = 0;
  std::function<std::u16string(const G&)> stringDefault;
  std::function<int32_t(const G&)> getInt;
  std::function<void(G&, int32_t)> setInt;
  std::function<std::u16string(const G&)> getString;
  std::function<void(G&, const std::u16string&)> setString;
};

// A boolean field.
template <class G>
TSetting<G> BoolSetting(std::u16string name, bool defaultValue, bool G::*field) {
  TSetting<G> s;
  s.name = std::move(name);
  s.kind = TSettingKind::kBoolean;
  s.intDefault = defaultValue ? 1 : 0;
  s.getInt = [field](const G& g) { return (g.*field) ? 1 : 0; };
  s.setInt = [field](G& g, int32_t v) { g.*field = v != 0; };
  return s;
}

// An integer field of any width (hot keys are 16-bit, colours unsigned);
// the stored form is always a 32-bit integer.
template <class G, class T>
TSetting<G> IntSetting(std::u16string name, int32_t defaultValue, T G::*field) {
  TSetting<G> s;
  s.name = std::move(name);
  s.kind = TSettingKind::kInteger;
  s.intDefault = defaultValue;
  s.getInt = [field](const G& g) { return static_cast<int32_t>(g.*field); };
  s.setInt = [field](G& g, int32_t v) { g.*field = static_cast<T>(v); };
  return s;
}

template <class G>
TSetting<G> StringSetting(std::u16string name, std::u16string defaultValue,
                          std::u16string G::*field) {
  TSetting<G> s;
  s.name = std::move(name);
  s.kind = TSettingKind::kString;
  s.stringDefault = [defaultValue](const G&) { return defaultValue; };
  s.getString = [field](const G& g) { return g.*field; };
  s.setString = [field](G& g, const std::u16string& v) { g.*field = v; };
  return s;
}

template <class G>
void LoadSetting(TSettingsIni& ini, std::u16string_view section, const TSetting<G>& s, G& g) {
  switch (s.kind) {
    case TSettingKind::kInteger:
      s.setInt(g, ini.ReadInteger(section, s.name, s.intDefault));
      break;
    case TSettingKind::kBoolean:
      s.setInt(g, ini.ReadBool(section, s.name, s.intDefault != 0) ? 1 : 0);
      break;
    case TSettingKind::kString:
      s.setString(g, ini.ReadString(section, s.name, s.stringDefault(g)));
      break;
  }
}

template <class G>
void SaveSetting(TSettingsIni& ini, std::u16string_view section, const TSetting<G>& s, const G& g) {
  switch (s.kind) {
    case TSettingKind::kInteger:
      ini.WriteInteger(section, s.name, s.getInt(g));
      break;
    case TSettingKind::kBoolean:
      ini.WriteBool(section, s.name, s.getInt(g) != 0);
      break;
    case TSettingKind::kString:
      ini.WriteString(section, s.name, s.getString(g));
      break;
  }
}

template <class G>
void LoadSettings(TSettingsIni& ini, std::u16string_view section,
                  const std::vector<TSetting<G>>& table, G& g) {
  for (const TSetting<G>& s : table) LoadSetting(ini, section, s, g);
}

template <class G>
void SaveSettings(TSettingsIni& ini, std::u16string_view section,
                  const std::vector<TSetting<G>>& table, const G& g) {
  for (const TSetting<G>& s : table) SaveSetting(ini, section, s, g);
}

}  // namespace vellumio
