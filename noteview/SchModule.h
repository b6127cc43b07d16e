// The colour-scheme files in the schemes folder and which one is current.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellumio {

class TSchModule {
public:
  struct TNameEntry {
    std::u16string name;  // the scheme's display name
    int file = -1;        // position in Files(); -1: none
  };

  // Where the settings keep the current scheme, and the scheme used when
  // they keep none.
  static constexpr std::u16string_view kSection = u"ColorScheme";
  static constexpr std::u16string_view kCurrentValue = u"CurrentScheme";
  static constexpr std::u16string_view kDefaultCurrent = u"vellumio.sch";
  // The scheme that a list's vanished scheme file falls back to.
  static constexpr std::u16string_view kFallbackFile = u"default.sch";

  // Remembers the folder (a separator is added when it has none) and scans it.
  explicit TSchModule(std::u16string folder);

  // Lists the "*.sch" files of the folder with their display names, the
  // names sorted without regard to case (equal names keep file order).
  void Scan();

  const std::u16string& Folder() const { return folder_; }
  const std::vector<TNameEntry>& Names() const { return names_; }
  const std::vector<std::u16string>& Files() const { return files_; }
  int Current() const { return current_; }

  // Position in Names() of the file (folder ignored, case ignored), else of
  // "default.sch", else -1.
  int IndexOfFile(std::u16string_view fileName) const;
  // The file of the entry at `index` in Names(); empty for a bad index.
  std::u16string FileAt(int index) const;
  // The current entry's file (the first when none is current); throws
  // std::runtime_error "Color scheme file not found." without schemes.
  std::u16string CurrentFile() const;
  void SetCurrentFile(std::u16string_view fileName);

  // Reads or writes the current file name through the settings store (any
  // INI-like object with ReadString/WriteString of section, name, value).
  template <class Ini>
  void LoadCurrent(Ini& ini) {
    SetCurrentFile(ini.ReadString(kSection, kCurrentValue, kDefaultCurrent));
  }
  // Without any scheme nothing is written, so the stored choice survives a
  // run with an empty schemes folder.
  template <class Ini>
  void SaveCurrent(Ini& ini) const {
    if (!names_.empty()) ini.WriteString(kSection, kCurrentValue, CurrentFile());
  }

private:
  std::u16string folder_;
  std::vector<TNameEntry> names_;
  std::vector<std::u16string> files_;
  int current_ = -1;
};

}  // namespace vellumio
