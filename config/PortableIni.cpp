#include "config/PortableIni.h"

#include <stdexcept>

namespace vellumio {
namespace {

std::u16string Decimal(int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

TPortableIni::TPortableIni(std::u16string path) : path_(std::move(path)) {
  try {
    file_.LoadFromFile(path_);
  } catch (const std::runtime_error& e) {
    throw ESettingsError(std::string("Cannot read the settings file: ") + e.what());
  }
}

int32_t TPortableIni::ReadInteger(std::u16string_view section, std::u16string_view name,
                                  int32_t defaultValue) {
  const std::optional<std::u16string> text = file_.Find(section, name);
  int32_t value = defaultValue;
  if (!text || !ParseSettingInteger(*text, value)) return defaultValue;
  return value;
}

void TPortableIni::WriteInteger(std::u16string_view section, std::u16string_view name,
                                int32_t value) {
  file_.WriteString(section, name, Decimal(value));
}

bool TPortableIni::ReadBool(std::u16string_view section, std::u16string_view name,
                            bool defaultValue) {
  return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
}

void TPortableIni::WriteBool(std::u16string_view section, std::u16string_view name, bool value) {
  file_.WriteString(section, name, value ? u"1" : u"0");
}

std::u16string TPortableIni::ReadString(std::u16string_view section, std::u16string_view name,
                                        std::u16string_view defaultValue) {
  return file_.ReadString(section, name, defaultValue);
}

void TPortableIni::WriteString(std::u16string_view section, std::u16string_view name,
                               std::u16string_view value) {
  file_.WriteString(section, name, value);
}

bool TPortableIni::ValueExists(std::u16string_view section, std::u16string_view name) {
  return file_.ValueExists(section, name);
}

void TPortableIni::EraseSection(std::u16string_view section) { file_.EraseSection(section); }

void TPortableIni::UpdateFile() {
  try {
    file_.SaveToFile(path_);
  } catch (const std::runtime_error& e) {
    throw ESettingsError(std::string("Cannot write the settings file: ") + e.what());
  }
}

}  // namespace vellumio
