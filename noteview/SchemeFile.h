// Reading scheme files. On Windows they are read with the system's
// profile-string functions, so that a scheme means exactly what any other
// Windows program reading it would make of it; the native build reads them
// with the project's INI reader, which follows the same rules.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/IniFile.h"

namespace vellumio {

class TProfileReader {
public:
  virtual ~TProfileReader() = default;
  // The value, or `defaultValue` when the file, section or key is missing.
  virtual std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultValue) = 0;
};

// The project's reader: the whole file parsed once when opened.
class TIniProfileReader : public TProfileReader {
public:
  explicit TIniProfileReader(const std::u16string& path) { ini_.LoadFromFile(path); }
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) override {
    return ini_.ReadString(section, key, defaultValue);
  }

private:
  TIniFile ini_;
};

// The platform's reader for the file at `path` (a full path). A missing
// file reads as empty.
std::unique_ptr<TProfileReader> OpenProfileFile(const std::u16string& path);

}  // namespace vellumio
