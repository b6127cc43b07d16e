// What the language editor shows, without its window: the lines of the
// English file classified into sections, keys and the rest, the text of
// each row, the marker of an untranslated key, and the searches over the
// rows. The editor's window only displays these and reacts to the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumio {

// The second column of a key that the target file lacks or leaves empty.
inline constexpr std::u16string_view kNoValueMarker = u"####### no-value ####### ";

enum class TLineKind { kSection, kKey, kOther };

// One line of a language file as the editor sees it.
struct TEditorLine {
  TLineKind kind = TLineKind::kOther;
  std::u16string section;  // a section line: its name; a key line: the section it is in
  std::u16string key;      // key lines only
  std::u16string value;    // key lines only: unquoted
  std::u16string text;     // the row text in the first column

  // A key the editor can translate: a key line below some section.
  bool Editable() const { return kind == TLineKind::kKey && !section.empty(); }
};

// Classifies one line on its own (a key line's section is left empty):
// after trimming blanks, "[name]..." is a section line, a line that does not
// start with ";" or "[" and holds "=" a key line, anything else neither.
TEditorLine ClassifyLine(std::u16string_view line);

// Every line classified, each key line carrying the name of the nearest
// section line above it (none above the first section).
std::vector<TEditorLine> ClassifyLines(const std::vector<std::u16string>& lines);

// The second column for a translation: the text, or the marker when empty.
std::u16string TranslationColumn(const std::u16string& value);

// The next (or previous) row after (before) `selected` whose second column
// is exactly the marker; from the first (last) row when `selected` is -1.
// -1 when there is none.
int FindUnassigned(const std::vector<std::u16string>& secondColumn, int selected, bool forward);

// The first row after `selected` whose text contains `text`, compared in
// upper case; -1 when none up to the end.
int FindRowText(const std::vector<std::u16string>& rowTexts, int selected, std::u16string_view text);

// The file name for a new language typed by the user: trimmed, without any
// extension, plus ".lng". Nothing for an empty answer or one that is no
// plain file name (a folder or a drive in it would put the file elsewhere).
std::optional<std::u16string> NewLanguageFileName(std::u16string_view answer);

}  // namespace vellumio
