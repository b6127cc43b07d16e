#include "lang/LangEditorModel.h"

#include "base/TextUtil.h"

namespace vellumio {

namespace {

constexpr size_t kKeyWidth = 15;  // row texts line up their "=" signs

// Blanks as the language files mean them (the file reader's rule).
bool IsBlank(char16_t c) { return c <= u' '; }

std::u16string TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::u16string(text);
}

std::u16string WithoutOuterQuotes(std::u16string value) {
  if (!value.empty() && value.front() == u'"') value.erase(0, 1);
  if (!value.empty() && value.back() == u'"') value.pop_back();
  return value;
}

std::u16string KeyRowText(const std::u16string& key, const std::u16string& value) {
  std::u16string shown = TrimBlanks(std::u16string_view(key).substr(0, kKeyWidth));
  shown.resize(kKeyWidth, u' ');
  return shown + u"=" + value;
}

}  // namespace

TEditorLine ClassifyLine(std::u16string_view line) {
  TEditorLine result;
  const std::u16string trimmed = TrimBlanks(line);
  result.text = trimmed;
  if (trimmed.starts_with(u'[')) {
    const size_t close = trimmed.find(u']');
    if (close != std::u16string::npos) {
      result.kind = TLineKind::kSection;
      result.section = trimmed.substr(1, close - 1);
    }
    return result;
  }
  const size_t equals = trimmed.find(u'=');
  if (trimmed.starts_with(u';') || equals == std::u16string::npos) return result;
  result.kind = TLineKind::kKey;
  result.key = TrimBlanks(std::u16string_view(trimmed).substr(0, equals));
  result.value = WithoutOuterQuotes(TrimBlanks(std::u16string_view(trimmed).substr(equals + 1)));
  result.text = KeyRowText(result.key, result.value);
  return result;
}

std::vector<TEditorLine> ClassifyLines(const std::vector<std::u16string>& lines) {
  std::vector<TEditorLine> result;
  result.reserve(lines.size());
  std::u16string section;
  for (const std::u16string& line : lines) {
    TEditorLine classified = ClassifyLine(line);
    if (classified.kind == TLineKind::kSection) section = classified.section;
    if (classified.kind == TLineKind::kKey) classified.section = section;
    result.push_back(std::move(classified));
  }
  return result;
}

std::u16string TranslationColumn(const std::u16string& value) {
  return value.empty() ? std::u16string(kNoValueMarker) : value;
}

int FindUnassigned(const std::vector<std::u16string>& secondColumn, int selected, bool forward) {
  const int count = static_cast<int>(secondColumn.size());
  const int step = forward ? 1 : -1;
  int row = selected < 0 ? (forward ? 0 : count - 1) : selected + step;
  for (; row >= 0 && row < count; row += step)
    if (secondColumn[static_cast<size_t>(row)] == kNoValueMarker) return row;
  return -1;
}

int FindRowText(const std::vector<std::u16string>& rowTexts, int selected,
                std::u16string_view text) {
  if (text.empty()) return -1;
  const std::u16string needle = UpperCaseUnits(text);
  for (int row = selected < 0 ? 0 : selected + 1; row < static_cast<int>(rowTexts.size()); ++row)
    if (ContainsUpperCased(rowTexts[static_cast<size_t>(row)], needle)) return row;
  return -1;
}

std::optional<std::u16string> NewLanguageFileName(std::u16string_view answer) {
  std::u16string name = TrimBlanks(answer);
  for (char16_t c : name)
    if (c < u' ' || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
      return std::nullopt;
  const size_t dot = name.find_last_of(u'.');
  if (dot != std::u16string::npos) name = TrimBlanks(std::u16string_view(name).substr(0, dot));
  // Dots alone name no file of their own.
  if (name.find_first_not_of(u'.') == std::u16string::npos) return std::nullopt;
  return name + u".lng";
}

}  // namespace vellumio
