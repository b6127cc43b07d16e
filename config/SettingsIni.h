// The back-end the settings store reads and writes through: sections of
// named integer, boolean and string values, the registry in normal mode
// and "Vellumio.ini" beside the program in portable mode. Both keep the same
// sections and value names, so a setting is declared once for both.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vellumio {

// A back-end that cannot be read or written (access denied, a read-only
// settings file). Values of an unexpected type are not errors: they read as
// missing, so that one damaged value never keeps the program from starting.
class ESettingsError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TSettingsIni {
public:
  virtual ~TSettingsIni() = default;

  // A value that is missing or does not parse gives `defaultValue`.
  virtual int32_t ReadInteger(std::u16string_view section, std::u16string_view name,
                              int32_t defaultValue) = 0;
  virtual void WriteInteger(std::u16string_view section, std::u16string_view name,
                            int32_t value) = 0;
  // Read as an integer; any value other than 0 is true.
  virtual bool ReadBool(std::u16string_view section, std::u16string_view name,
                        bool defaultValue) = 0;
  // Written as the text "0" or "1" by both back-ends.
  virtual void WriteBool(std::u16string_view section, std::u16string_view name, bool value) = 0;
  virtual std::u16string ReadString(std::u16string_view section, std::u16string_view name,
                                    std::u16string_view defaultValue) = 0;
  virtual void WriteString(std::u16string_view section, std::u16string_view name,
                           std::u16string_view value) = 0;

  virtual bool ValueExists(std::u16string_view section, std::u16string_view name) = 0;
  // Removes the section with all its values (and, in the registry, the
  // sections below it).
  virtual void EraseSection(std::u16string_view section) = 0;
  // Makes the writes lasting: writes the portable file; the registry has
  // nothing left to do.
  virtual void UpdateFile() = 0;
};

// Decimal text as both back-ends store integers in text form: optional
// blanks, an optional sign, digits, nothing else, within 32 bits.
bool ParseSettingInteger(std::u16string_view text, int32_t& value);

}  // namespace vellumio
