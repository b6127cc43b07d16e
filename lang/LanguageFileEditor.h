// A language file opened for translating: values are read as the program
// reads them and each write goes to the disk at once, in the file's own
// code page (the one its LANG_INFO names, else the system's ANSI code
// page). The system's profile functions would write in the ANSI code page
// and turn every Cyrillic letter of a Russian file edited on a Western
// system into "?"; a character the file's code page cannot hold is refused
// instead. Lines that are not written keep their bytes exactly.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lang/LanguageFile.h"

namespace vellumio {

// A character of a translation that the file's code page has no byte for.
class EUnencodableText : public std::runtime_error {
public:
  EUnencodableText(char16_t character, unsigned codePage);
  char16_t Character() const { return character_; }
  unsigned CodePage() const { return codePage_; }

private:
  char16_t character_;
  unsigned codePage_;
};

// `text` in `codePage` (0: the system's ANSI code page); nothing when some
// character has no byte there. `bad` receives that character.
std::optional<std::string> EncodeInCodePage(std::u16string_view text, unsigned codePage,
                                            char16_t* bad = nullptr);

class TLanguageFileEditor {
public:
  // Reads the file; a missing file is an empty one (created on the first
  // write). Throws std::runtime_error when it exists but cannot be read.
  explicit TLanguageFileEditor(std::u16string path);

  const std::u16string& Path() const { return path_; }
  // The code page the file names in LANG_INFO, 0 for the system's.
  unsigned CodePage() const { return codePage_; }

  // The value as written (quotes resolved, "\n" kept); empty when absent.
  std::u16string Read(std::u16string_view section, std::u16string_view key) const;

  // Sets `key` of `section` to `value` and writes the whole file at once
  // (replacing it safely). Line breaks in the value become "\n", as the
  // files write them. Throws EUnencodableText, with the file unchanged,
  // for a character the code page lacks, and std::runtime_error when the
  // file cannot be written (a languages folder that is read-only for the
  // user).
  void Write(std::u16string_view section, std::u16string_view key, std::u16string_view value);

private:
  std::string EncodedLine(std::u16string_view key, std::u16string_view value) const;

  std::u16string path_;
  std::string bytes_;
  unsigned codePage_ = 0;
  TLanguageFile parsed_;
};

}  // namespace vellumio
