// One parsed language file. Language files are INI-style text in the
// system's ANSI code page, written by translators with any text editor, so
// the reader is forgiving: it never fails on content, only when the file
// cannot be read at all.
//
// Reading rules:
// - Lines end with LF or CR LF. Each line is trimmed of blanks (space and
//   control characters) before it is looked at.
// - An empty line, or one whose first character is ";", carries nothing.
// - "[name]" opens the section `name`. Lines before the first section and
//   lines without "=" are ignored, as is a line whose key is empty.
// - "key=value": the key is the trimmed text before the first "=", the
//   value the trimmed text after it. A value that begins with a double
//   quote is a quoted string: the text up to the closing quote, a doubled
//   quote standing for one quote, and without a closing quote the rest of
//   the line. When that yields nothing (`""`, a lone `"`), the trimmed raw
//   value is kept as it stands.
// - Section names and keys are matched without regard to letter case.
// - A key that appears twice in a section keeps its first value, and a
//   section that appears twice adds its new keys to the first one: that is
//   what the system's profile functions answer for the same file, so a
//   translator who checks a file with other tools sees the same texts.
// The two characters "\n" inside a value stand for a line break; they are
// kept as written here and replaced by CR LF when a text is read through
// ReadString (the language editor shows and edits them as written).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumio {

class TLanguageFile {
public:
  // Parses the bytes of a file in the ANSI code page, or in the code page
  // its LANG_INFO section names ("CodePage=1251"), so that a translation
  // reads right on a system whose ANSI code page is another one.
  static TLanguageFile FromAnsiText(std::string_view bytes);
  // The code page a file names in LANG_INFO, or 0.
  static unsigned DeclaredCodePage(std::string_view bytes);
  // Reads and parses a file; throws std::runtime_error naming the file when
  // it cannot be read.
  static TLanguageFile FromFile(const std::u16string& path);

  // The value as written in the file (quotes resolved, "\n" kept).
  std::optional<std::u16string> RawValue(std::u16string_view section,
                                         std::u16string_view key) const;
  // The value with every "\n" turned into CR LF, or `defaultValue`.
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
  // The value as an integer; `defaultValue` when absent or not a number.
  int ReadInteger(std::u16string_view section, std::u16string_view key, int defaultValue) const;

  bool HasSection(std::u16string_view section) const;
  // Section names and the keys of one section as first written, in file order.
  std::vector<std::u16string> SectionNames() const;
  std::vector<std::u16string> KeyNames(std::u16string_view section) const;

private:
  struct Section {
    std::u16string name;
    std::vector<std::u16string> keys;                 // in file order, as written
    std::map<std::u16string, std::u16string> values;  // upper-cased key -> value
  };

  void ParseLine(std::u16string_view line, Section*& current);
  const Section* FindSection(std::u16string_view section) const;

  std::vector<Section> sections_;                  // in file order
  std::map<std::u16string, size_t> sectionIndex_;  // upper-cased name -> index
};

// Every occurrence of the two characters "\n" replaced by CR LF.
std::u16string ExpandLineBreaks(std::u16string_view text);

// Every occurrence of `what` (not empty) replaced by `with`, case-sensitive.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view what,
                          std::u16string_view with);

}  // namespace vellumio
