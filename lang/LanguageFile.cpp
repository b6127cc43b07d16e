#include "lang/LanguageFile.h"

#include <climits>
#include <stdexcept>

#include "base/TextUtil.h"
#include "platform/Platform.h"

namespace vellumio {

namespace {

// Blanks as the file's authors mean them: spaces, tabs and the CR of a
// CR LF line end. Wider white space (a no-break space) is text.
bool IsBlank(char16_t c) { return c <= u' '; }

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string Folded(std::u16string_view name) { return UpperCaseUnits(name); }

// The text of a quoted value: up to the closing quote, "" standing for one
// quote; without a closing quote, the rest.
std::u16string Unquoted(std::u16string_view value) {
  std::u16string out;
  for (size_t i = 1; i < value.size(); ++i) {
    if (value[i] != u'"') {
      out.push_back(value[i]);
    } else if (i + 1 < value.size() && value[i + 1] == u'"') {
      out.push_back(u'"');
      ++i;
    } else {
      break;
    }
  }
  return out;
}

std::u16string ValueOf(std::u16string_view raw) {
  if (raw.empty() || raw.front() != u'"') return std::u16string(raw);
  std::u16string quoted = Unquoted(raw);
  return quoted.empty() ? std::u16string(raw) : quoted;
}

std::optional<int> ParseInteger(std::u16string_view text) {
  text = TrimBlanks(text);
  bool negative = !text.empty() && text.front() == u'-';
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

unsigned TLanguageFile::DeclaredCodePage(std::string_view bytes) {
  // Section and key names are ASCII in every code page, so the bytes can be
  // searched before they are decoded.
  const auto upper = [](std::string_view text) {
    std::string out(text);
    for (char& c : out)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
  };
  const auto trim = [](std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
  };
  bool inInfo = false;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = trim(bytes.substr(start, end - start));
    start = end + 1;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      inInfo = upper(line.substr(1, line.size() - 2)) == "LANG_INFO";
      continue;
    }
    const size_t equals = line.find('=');
    if (!inInfo || equals == std::string_view::npos || upper(trim(line.substr(0, equals))) != "CODEPAGE")
      continue;
    unsigned value = 0;
    const std::string_view digits = trim(line.substr(equals + 1));
    for (char c : digits) {
      if (c < '0' || c > '9' || value > 100000) return 0;
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
  }
  return 0;
}

TLanguageFile TLanguageFile::FromAnsiText(std::string_view bytes) {
  const unsigned codePage = DeclaredCodePage(bytes);
  const std::u16string text =
      codePage ? platform::FromCodePage(bytes, codePage) : platform::FromAnsi(bytes);
  TLanguageFile file;
  Section* current = nullptr;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    file.ParseLine(std::u16string_view(text).substr(start, end - start), current);
    start = end + 1;
  }
  return file;
}

TLanguageFile TLanguageFile::FromFile(const std::u16string& path) {
  auto reader = platform::OpenForReading(path);
  std::string bytes;
  char buffer[16384];
  while (size_t count = reader->Read(buffer, sizeof buffer)) bytes.append(buffer, count);
  return FromAnsiText(bytes);
}

void TLanguageFile::ParseLine(std::u16string_view line, Section*& current) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() == u';') return;
  if (line.front() == u'[' && line.back() == u']' && line.size() >= 2) {
    std::u16string name(line.substr(1, line.size() - 2));
    auto [it, added] = sectionIndex_.emplace(Folded(name), sections_.size());
    if (added) sections_.push_back(Section{name, {}, {}});
    current = &sections_[it->second];
    return;
  }
  const size_t equals = line.find(u'=');
  if (!current || equals == std::u16string_view::npos) return;
  const std::u16string_view key = TrimBlanks(line.substr(0, equals));
  if (key.empty()) return;
  auto [it, added] = current->values.emplace(Folded(key), u"");
  if (!added) return;  // the first value of a key wins
  it->second = ValueOf(TrimBlanks(line.substr(equals + 1)));
  current->keys.emplace_back(key);
}

const TLanguageFile::Section* TLanguageFile::FindSection(std::u16string_view section) const {
  auto it = sectionIndex_.find(Folded(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::u16string> TLanguageFile::RawValue(std::u16string_view section,
                                                      std::u16string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  auto it = found->values.find(Folded(key));
  if (it == found->values.end()) return std::nullopt;
  return it->second;
}

std::u16string TLanguageFile::ReadString(std::u16string_view section, std::u16string_view key,
                                         std::u16string_view defaultValue) const {
  auto value = RawValue(section, key);
  return ExpandLineBreaks(value ? std::u16string_view(*value) : defaultValue);
}

int TLanguageFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                               int defaultValue) const {
  auto value = RawValue(section, key);
  if (!value) return defaultValue;
  return ParseInteger(*value).value_or(defaultValue);
}

bool TLanguageFile::HasSection(std::u16string_view section) const {
  return FindSection(section) != nullptr;
}

std::vector<std::u16string> TLanguageFile::SectionNames() const {
  std::vector<std::u16string> names;
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::u16string> TLanguageFile::KeyNames(std::u16string_view section) const {
  const Section* found = FindSection(section);
  return found ? found->keys : std::vector<std::u16string>{};
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view what,
                          std::u16string_view with) {
  if (what.empty()) return std::u16string(text);
  std::u16string out;
  size_t start = 0;
  for (size_t at; (at = text.find(what, start)) != std::u16string_view::npos;
       start = at + what.size()) {
    out.append(text.substr(start, at - start));
    out.append(with);
  }
  out.append(text.substr(start));
  return out;
}

std::u16string ExpandLineBreaks(std::u16string_view text) {
  return ReplaceAll(text, u"\\n", u"\r\n");
}

}  // namespace vellumio
