#include "base/IniFile.h"

#include <algorithm>

#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "platform/Platform.h"

namespace vellumio {

namespace {

// The blanks the profile functions skip: white space, CR and the old
// end-of-file mark Ctrl+Z that DOS editors left behind.
bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x1A;
}

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && UpperUnit(a[i]) != UpperUnit(b[i])) return false;
  return true;
}

// One pair of matching single or double quotes around the whole value goes.
std::u16string Unquote(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front())
    return std::u16string(value.substr(1, value.size() - 2));
  return std::u16string(value);
}

bool NeedsQuotes(std::u16string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  return value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
         value.back() == value.front();
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return text;
}

std::string EncodeUtf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

}  // namespace

void TIniFile::LoadFromText(std::u16string_view text) {
  sections_.clear();
  // Keys before the first section header belong to a section without a name.
  sections_.push_back(TSection{});
  while (!text.empty()) {
    size_t end = text.find(u'\n');
    ParseLine(text.substr(0, end));
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

void TIniFile::LoadFromBytes(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) {
    LoadFromText(DecodeUtf16Le(bytes.substr(2)));
  } else if (bytes.starts_with("\xEF\xBB\xBF")) {
    LoadFromText(FromUtf8(bytes.substr(3)));
  } else {
    LoadFromText(platform::FromAnsi(bytes));
  }
}

void TIniFile::LoadFromFile(const std::u16string& path) {
  if (!platform::FileExists(path)) {
    sections_.clear();
    return;
  }
  auto reader = platform::OpenForReading(path);
  std::string bytes;
  char buffer[16384];
  while (size_t count = reader->Read(buffer, sizeof buffer)) bytes.append(buffer, count);
  LoadFromBytes(bytes);
}

void TIniFile::ParseLine(std::u16string_view line) {
  std::u16string_view content = TrimBlanks(line);
  if (content.empty()) return;
  if (content.front() == u'[') {
    // The name runs to the last "]", blanks inside the brackets trimmed; a
    // "[" line without any "]" is an ordinary line.
    size_t close = content.rfind(u']');
    if (close != std::u16string_view::npos) {
      sections_.push_back(TSection{std::u16string(TrimBlanks(content.substr(1, close - 1))), {}});
      return;
    }
  }
  TEntry entry;
  size_t equals = content.find(u'=');
  if (equals == std::u16string_view::npos) {
    entry.name = std::u16string(content);
  } else {
    entry.name = std::u16string(TrimBlanks(content.substr(0, equals)));
    entry.value = Unquote(TrimBlanks(content.substr(equals + 1)));
    entry.hasValue = true;
  }
  sections_.back().entries.push_back(std::move(entry));
}

TIniFile::TSection* TIniFile::FindSection(std::u16string_view name) {
  name = TrimBlanks(name);
  for (TSection& section : sections_)
    if (SameName(section.name, name)) return &section;
  return nullptr;
}

const TIniFile::TSection* TIniFile::FindSection(std::u16string_view name) const {
  return const_cast<TIniFile*>(this)->FindSection(name);
}

const TIniFile::TEntry* TIniFile::FindEntry(const TSection& section, std::u16string_view key) {
  key = TrimBlanks(key);
  for (const TEntry& entry : section.entries)
    if (entry.hasValue && SameName(entry.name, key)) return &entry;
  return nullptr;
}

std::optional<std::u16string> TIniFile::Find(std::u16string_view section,
                                             std::u16string_view key) const {
  // Only the first section of a name is searched, as the Windows functions
  // do: keys of a later duplicate are never seen.
  const TSection* found = FindSection(section);
  if (!found) return std::nullopt;
  const TEntry* entry = FindEntry(*found, key);
  if (!entry) return std::nullopt;
  return entry->value;
}

std::u16string TIniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultValue) const {
  auto value = Find(section, key);
  return value ? *value : std::u16string(defaultValue);
}

bool TIniFile::ValueExists(std::u16string_view section, std::u16string_view key) const {
  return Find(section, key).has_value();
}

bool TIniFile::SectionExists(std::u16string_view section) const {
  const TSection* found = FindSection(section);
  return found && !(found == &sections_.front() && found->name.empty() && found->entries.empty());
}

std::vector<std::u16string> TIniFile::ReadSection(std::u16string_view section) const {
  std::vector<std::u16string> names;
  if (const TSection* found = FindSection(section))
    for (const TEntry& entry : found->entries)
      if (entry.hasValue) names.push_back(entry.name);
  return names;
}

std::vector<std::u16string> TIniFile::ReadSections() const {
  std::vector<std::u16string> names;
  for (const TSection& section : sections_) {
    if (section.name.empty() && &section == &sections_.front()) continue;
    bool seen = std::any_of(names.begin(), names.end(), [&](const std::u16string& name) {
      return SameName(name, section.name);
    });
    if (!seen) names.push_back(section.name);
  }
  return names;
}

void TIniFile::WriteString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  TSection* found = FindSection(section);
  if (!found) {
    sections_.push_back(TSection{std::u16string(section), {}});
    found = &sections_.back();
  }
  for (TEntry& entry : found->entries) {
    if (entry.hasValue && SameName(entry.name, key)) {
      entry.value = std::u16string(value);
      return;
    }
  }
  found->entries.push_back(TEntry{std::u16string(key), std::u16string(value), true});
}

void TIniFile::DeleteKey(std::u16string_view section, std::u16string_view key) {
  TSection* found = FindSection(section);
  if (!found) return;
  key = TrimBlanks(key);
  auto& entries = found->entries;
  auto it = std::find_if(entries.begin(), entries.end(), [&](const TEntry& entry) {
    return entry.hasValue && SameName(entry.name, key);
  });
  if (it != entries.end()) entries.erase(it);
}

void TIniFile::EraseSection(std::u16string_view section) {
  section = TrimBlanks(section);
  std::erase_if(sections_, [&](const TSection& s) { return SameName(s.name, section); });
}

std::u16string TIniFile::SaveToText() const {
  std::u16string text;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const TSection& section = sections_[i];
    bool headless = i == 0 && section.name.empty();
    if (headless && section.entries.empty()) continue;
    if (!headless) text += u"[" + section.name + u"]\r\n";
    for (const TEntry& entry : section.entries) {
      text += entry.name;
      if (entry.hasValue)
        text += NeedsQuotes(entry.value) ? u"=\"" + entry.value + u"\"" : u"=" + entry.value;
      text += u"\r\n";
    }
  }
  return text;
}

std::string TIniFile::SaveToBytes(TEncoding encoding) const {
  std::u16string text = SaveToText();
  switch (encoding) {
    case TEncoding::Utf8:
      return "\xEF\xBB\xBF" + ToUtf8(text);
    case TEncoding::Ansi:
      return platform::ToAnsi(text);
    case TEncoding::Utf16Le:
      break;
  }
  return EncodeUtf16Le(text);
}

void TIniFile::SaveToFile(const std::u16string& path, TEncoding encoding) const {
  std::string bytes = SaveToBytes(encoding);
  platform::WriteFileReplacing(path, bytes.data(), bytes.size());
}

}  // namespace vellumio
