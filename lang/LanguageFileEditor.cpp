#include "lang/LanguageFileEditor.h"

#include <array>
#include <map>
#include <vector>

#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "platform/Platform.h"

namespace vellumio {

namespace {

std::string ReadBytes(const std::u16string& path) {
  if (!platform::FileExists(path)) return {};
  auto reader = platform::OpenForReading(path);
  std::string bytes;
  char buffer[16384];
  while (size_t count = reader->Read(buffer, sizeof buffer)) bytes.append(buffer, count);
  return bytes;
}

std::u16string Decode(std::string_view bytes, unsigned codePage) {
  return codePage ? platform::FromCodePage(bytes, codePage) : platform::FromAnsi(bytes);
}

// The byte of each character of a single-byte code page, from decoding
// every byte once.
const std::map<char16_t, char>& ReverseTable(unsigned codePage) {
  static std::map<unsigned, std::map<char16_t, char>> tables;
  auto [entry, added] = tables.try_emplace(codePage);
  if (added) {
    for (int b = 1; b < 256; ++b) {
      const std::string byte(1, static_cast<char>(b));
      const std::u16string decoded = platform::FromCodePage(byte, codePage);
      if (decoded.size() == 1) entry->second.try_emplace(decoded[0], static_cast<char>(b));
    }
  }
  return entry->second;
}

// The lines of the file with their line ends, so that untouched lines are
// written back byte for byte.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find('\n', start);
    const size_t next = end == std::string::npos ? bytes.size() : end + 1;
    lines.push_back(bytes.substr(start, next - start));
    start = next;
  }
  return lines;
}

bool IsBlank(char16_t c) { return c <= u' '; }

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return UpperCaseUnits(a) == UpperCaseUnits(b);
}

// The section a line opens, or nothing.
std::optional<std::u16string> SectionOf(std::u16string_view line) {
  line = TrimBlanks(line);
  if (line.size() < 2 || line.front() != u'[' || line.back() != u']') return std::nullopt;
  return std::u16string(line.substr(1, line.size() - 2));
}

// The key a line sets, or nothing.
std::optional<std::u16string> KeyOf(std::u16string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() == u';') return std::nullopt;
  const size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return std::nullopt;
  return std::u16string(TrimBlanks(line.substr(0, equals)));
}

// Line breaks as the files write them, and quotes where the reader would
// otherwise lose blanks at the ends or take a leading quote for one.
std::u16string StoredForm(std::u16string_view value) {
  std::u16string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n') continue;
    if (value[i] == u'\r' || value[i] == u'\n') {
      text += u"\\n";
    } else {
      text.push_back(value[i]);
    }
  }
  const bool needsQuotes = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()) ||
                                             text.front() == u'"');
  if (!needsQuotes) return text;
  std::u16string quoted = u"\"";
  for (char16_t c : text) {
    quoted.push_back(c);
    if (c == u'"') quoted.push_back(u'"');
  }
  return quoted + u"\"";
}

}  // namespace

EUnencodableText::EUnencodableText(char16_t character, unsigned codePage)
    : std::runtime_error("The character U+" + [character] {
        static const char digits[] = "0123456789ABCDEF";
        std::string hex;
        for (int shift = 12; shift >= 0; shift -= 4) hex.push_back(digits[(character >> shift) & 15]);
        return hex;
      }() + " has no place in code page " + std::to_string(codePage)),
      character_(character),
      codePage_(codePage) {}

std::optional<std::string> EncodeInCodePage(std::u16string_view text, unsigned codePage,
                                            char16_t* bad) {
  if (codePage == 0) {
    // The system's code page: whatever does not come back unchanged (a "?"
    // or a best-fit letter) has no byte of its own.
    std::string encoded = platform::ToAnsi(text);
    if (platform::FromAnsi(encoded) == text) return encoded;
    for (char16_t c : text) {
      if (platform::FromAnsi(platform::ToAnsi(std::u16string_view(&c, 1))) != std::u16string(1, c)) {
        if (bad) *bad = c;
        break;
      }
    }
    return std::nullopt;
  }
  const std::map<char16_t, char>& table = ReverseTable(codePage);
  std::string encoded;
  encoded.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80) {
      encoded.push_back(static_cast<char>(c));
      continue;
    }
    const auto found = table.find(c);
    if (found == table.end()) {
      if (bad) *bad = c;
      return std::nullopt;
    }
    encoded.push_back(found->second);
  }
  return encoded;
}

TLanguageFileEditor::TLanguageFileEditor(std::u16string path)
    : path_(std::move(path)),
      bytes_(ReadBytes(path_)),
      codePage_(TLanguageFile::DeclaredCodePage(bytes_)),
      parsed_(TLanguageFile::FromAnsiText(bytes_)) {}

std::u16string TLanguageFileEditor::Read(std::u16string_view section,
                                         std::u16string_view key) const {
  return parsed_.RawValue(section, key).value_or(std::u16string());
}

std::string TLanguageFileEditor::EncodedLine(std::u16string_view key,
                                             std::u16string_view value) const {
  const std::u16string line = std::u16string(key) + u"=" + StoredForm(value);
  char16_t bad = 0;
  std::optional<std::string> encoded = EncodeInCodePage(line, codePage_, &bad);
  if (!encoded) throw EUnencodableText(bad, codePage_);
  return *encoded + "\r\n";
}

void TLanguageFileEditor::Write(std::u16string_view section, std::u16string_view key,
                                std::u16string_view value) {
  std::vector<std::string> lines = SplitLines(bytes_);
  // A last line without its line end gets one before anything follows it.
  if (!lines.empty() && lines.back().back() != '\n') lines.back() += "\r\n";
  // The first section of that name is the one the reader takes a key from
  // first, so that is where the key goes.
  std::optional<size_t> sectionLine, keyLine, lastOfSection;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::u16string text = Decode(lines[i], codePage_);
    if (const std::optional<std::u16string> name = SectionOf(text)) {
      inSection = !sectionLine && SameName(*name, section);
      if (inSection) sectionLine = lastOfSection = i;
      continue;
    }
    if (!inSection) continue;
    if (!TrimBlanks(text).empty()) lastOfSection = i;
    const std::optional<std::u16string> lineKey = KeyOf(text);
    if (!keyLine && lineKey && SameName(*lineKey, key)) keyLine = i;
  }
  std::string newLine = EncodedLine(key, value);
  if (keyLine) {
    lines[*keyLine] = newLine;
  } else if (sectionLine) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastOfSection + 1), newLine);
  } else {
    char16_t bad = 0;
    const std::optional<std::string> header =
        EncodeInCodePage(u"[" + std::u16string(section) + u"]", codePage_, &bad);
    if (!header) throw EUnencodableText(bad, codePage_);
    if (!lines.empty()) lines.push_back("\r\n");
    lines.push_back(*header + "\r\n");
    lines.push_back(newLine);
  }
  std::string bytes;
  for (const std::string& line : lines) bytes += line;
  platform::WriteFileReplacing(path_, bytes.data(), bytes.size());
  bytes_ = std::move(bytes);
  parsed_ = TLanguageFile::FromAnsiText(bytes_);
}

}  // namespace vellumio
