// The portable back-end: "Vellumio.ini" beside the program, read whole on
// opening and written whole by UpdateFile.
#pragma once

#include <string>

#include "base/IniFile.h"
#include "config/SettingsIni.h"

namespace vellumio {

class TPortableIni final : public TSettingsIni {
public:
  // Reads the file; a missing one starts empty. Throws ESettingsError when
  // it cannot be read.
  explicit TPortableIni(std::u16string path);

  int32_t ReadInteger(std::u16string_view section, std::u16string_view name,
                      int32_t defaultValue) override;
  void WriteInteger(std::u16string_view section, std::u16string_view name, int32_t value) override;
  bool ReadBool(std::u16string_view section, std::u16string_view name, bool defaultValue) override;
  void WriteBool(std::u16string_view section, std::u16string_view name, bool value) override;
  std::u16string ReadString(std::u16string_view section, std::u16string_view name,
                            std::u16string_view defaultValue) override;
  void WriteString(std::u16string_view section, std::u16string_view name,
                   std::u16string_view value) override;
  bool ValueExists(std::u16string_view section, std::u16string_view name) override;
  void EraseSection(std::u16string_view section) override;
  // Throws ESettingsError when the file cannot be written (read-only, say).
  void UpdateFile() override;

  const TIniFile& File() const { return file_; }

private:
  std::u16string path_;
  TIniFile file_;
};

}  // namespace vellumio
