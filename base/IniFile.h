// An initialisation file held in memory: the portable settings file and, in
// the native build, the colour schemes. Reading follows the rules of the
// Windows profile-string functions, so that a file hand-edited by a user
// means the same whichever reader sees it: names of sections and keys are
// compared without regard to case and with surrounding blanks ignored,
// values are trimmed and lose one pair of matching surrounding quotes, the
// first of duplicate sections or keys wins, and lines may be of any length.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumio {

class TIniFile {
public:
  // How SaveToBytes encodes the text. UTF-16 with a byte-order mark is the
  // one form that the Windows functions read on every version without loss.
  enum class TEncoding { Utf16Le, Utf8, Ansi };

  TIniFile() = default;

  // Replaces the contents with the parsed text.
  void LoadFromText(std::u16string_view text);
  // Decodes a file's bytes: UTF-16 LE or UTF-8 when a byte-order mark says
  // so, the ANSI code page otherwise.
  void LoadFromBytes(std::string_view bytes);
  // A missing file gives an empty INI file; other failures throw.
  void LoadFromFile(const std::u16string& path);

  // The value of the key, or nothing when the section or key is missing. A
  // key line without "=" has the empty value.
  std::optional<std::u16string> Find(std::u16string_view section, std::u16string_view key) const;
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
  bool ValueExists(std::u16string_view section, std::u16string_view key) const;
  bool SectionExists(std::u16string_view section) const;
  // Key names of the section, in file order (lines without "=" excluded).
  std::vector<std::u16string> ReadSection(std::u16string_view section) const;
  std::vector<std::u16string> ReadSections() const;

  // Sets the first key of that name, or appends the key to the first section
  // of that name, or appends a new section.
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void DeleteKey(std::u16string_view section, std::u16string_view key);
  // Removes every section of that name with all its keys.
  void EraseSection(std::u16string_view section);

  // The file as text, lines ending in CR LF. A value that would not read
  // back as it is (blanks at its ends, or enclosed in matching quotes) is
  // written inside double quotes.
  std::u16string SaveToText() const;
  std::string SaveToBytes(TEncoding encoding = TEncoding::Utf16Le) const;
  void SaveToFile(const std::u16string& path, TEncoding encoding = TEncoding::Utf16Le) const;

private:
  struct TEntry {
    std::u16string name;
    std::u16string value;
    bool hasValue = false;  // false: a line without "=" (a comment, say)
  };
  struct TSection {
    std::u16string name;
    std::vector<TEntry> entries;
  };

  void ParseLine(std::u16string_view line);
  TSection* FindSection(std::u16string_view name);
  const TSection* FindSection(std::u16string_view name) const;
  static const TEntry* FindEntry(const TSection& section, std::u16string_view key);

  std::vector<TSection> sections_;
};

}  // namespace vellumio
