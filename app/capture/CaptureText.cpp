#include "app/capture/CaptureText.h"

#include <algorithm>

namespace vellumio::capture {

namespace {

// A header line is short and the URL is the longest of them; anything
// beyond this many bytes is the page itself or garbage.
constexpr size_t kHeaderScanLimit = 8 * 1024;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view lowerPrefix) {
  if (text.size() < lowerPrefix.size()) return false;
  for (size_t i = 0; i < lowerPrefix.size(); ++i) {
    if (AsciiLower(text[i]) != lowerPrefix[i]) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The offset of a "StartHTML" value, or nothing when it is not a plain
// decimal number (some writers put -1 for a missing part).
std::optional<size_t> ParseOffset(std::string_view value) {
  if (value.empty() || value.size() > 10) return std::nullopt;
  uint64_t n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  return static_cast<size_t>(n);
}

}  // namespace

std::u16string BrowserServiceFor(std::u16string_view windowClass) {
  if (windowClass == u"OpWindow") return u"Opera";
  if (windowClass.find(u"MozillaUI") != std::u16string_view::npos) return u"FireFox";
  if (windowClass.find(u"Chrome_") != std::u16string_view::npos) return u"Chrome";
  if (windowClass == u"IEFrame") return u"IExplore";
  return {};
}

std::optional<std::string> AddressFromDdeReply(std::string_view reply) {
  if (reply.empty()) return std::nullopt;
  reply.remove_prefix(1);  // the opening quote
  const size_t end = reply.find("\",\"");
  if (end == std::string_view::npos) return std::string();
  return std::string(reply.substr(0, end));
}

std::optional<std::string> SourceUrlFromHtmlFormat(std::string_view data) {
  size_t limit = std::min(data.size(), kHeaderScanLimit);
  bool limitIsStartHtml = false;
  std::optional<std::string> url;
  size_t pos = 0;
  while (pos < limit) {
    size_t next;
    const size_t newline = data.substr(0, limit).find('\n', pos);
    std::string_view line;
    if (newline != std::string_view::npos) {
      line = data.substr(pos, newline - pos);
      next = newline + 1;
    } else if (limitIsStartHtml) {
      // The page may follow the last header line without a line end.
      line = data.substr(pos, limit - pos);
      next = limit;
    } else {
      break;  // cut off: the value could be incomplete
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '<') break;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) break;
    const std::string_view key = line.substr(0, colon);
    if (!std::all_of(key.begin(), key.end(), IsAsciiLetter)) break;
    const std::string_view value = TrimBlanks(line.substr(colon + 1));
    if (key == "SourceURL" && !url) {
      url = std::string(value);
    } else if (key == "StartHTML" && !limitIsStartHtml) {
      // An offset inside the lines already read or beyond the data is
      // garbage; the scan then goes on until the lines stop.
      const std::optional<size_t> start = ParseOffset(value);
      if (start && *start >= next && *start <= data.size()) {
        limit = std::min(*start, limit);
        limitIsStartHtml = limit == *start;
      }
    }
    pos = next;
  }
  return url;
}

bool IsPageAddress(std::u16string_view address) {
  for (std::u16string_view scheme : {u"http://", u"https://", u"ftp://"}) {
    if (StartsWithNoCase(address, scheme)) return address.size() > scheme.size();
  }
  return false;
}

std::u16string CutCapture(std::u16string_view text) {
  if (text.size() <= kMaxCaptureLength) return std::u16string(text);
  size_t n = kMaxCaptureLength;
  if (IsHighSurrogate(text[n - 1]) && IsLowSurrogate(text[n])) --n;
  return std::u16string(text.substr(0, n));
}

std::u16string TrimCapture(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return std::u16string(text);
}

std::u16string NoteTextFor(std::u16string_view captured,
                           const std::optional<std::u16string>& address,
                           std::u16string_view caption) {
  if (address) return TrimCapture(captured) + u"\r\n\r\n" + *address;
  const std::u16string title = TrimCapture(caption);
  if (!title.empty()) return TrimCapture(captured) + u"\r\n\r\n* " + title;
  return std::u16string(captured);
}

THotKeyCode HotKeyCodeOf(uint16_t shortcut) {
  THotKeyCode code;
  if (shortcut & 0x8000) code.modifiers |= 1;  // MOD_ALT
  if (shortcut & 0x4000) code.modifiers |= 2;  // MOD_CONTROL
  if (shortcut & 0x2000) code.modifiers |= 4;  // MOD_SHIFT
  code.virtualKey = shortcut & 0xFF;
  return code;
}

}  // namespace vellumio::capture
