#include "app/capture/ClipboardCopy_win.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "app/capture/CaptureText.h"
#include "app/capture/ClipboardSnapshot_win.h"
#include "base/Utf8.h"
#include "platform/Platform.h"

namespace vellumio::capture {

namespace {

std::u16string UnicodeText() {
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  const auto* text = static_cast<const char16_t*>(GlobalLock(data));
  if (!text) return {};
  const size_t capacity = GlobalSize(data) / sizeof(char16_t);
  size_t length = 0;
  while (length < capacity && text[length]) ++length;
  std::u16string result(text, length);
  GlobalUnlock(data);
  return result;
}

// The bytes of a registered format, up to its first terminating zero (of
// the width given).
std::string FormatBytes(const wchar_t* name) {
  const UINT format = RegisterClipboardFormatW(name);
  HANDLE data = format ? GetClipboardData(format) : nullptr;
  if (!data) return {};
  const auto* bytes = static_cast<const char*>(GlobalLock(data));
  if (!bytes) return {};
  std::string result(bytes, GlobalSize(data));
  GlobalUnlock(data);
  return result;
}

std::u16string Utf16Prefix(const std::string& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * 2);
  return text.substr(0, text.find(u'\0'));
}

// Text of another program's format: UTF-16 when every second byte of the
// first character is zero, else UTF-8; the first line only.
std::u16string FormatText(const std::string& bytes) {
  std::u16string text = bytes.size() >= 2 && bytes[1] == '\0'
                            ? Utf16Prefix(bytes)
                            : FromUtf8(bytes.substr(0, bytes.find('\0')));
  const size_t end = text.find_first_of(u"\r\n");
  return end == std::u16string::npos ? text : text.substr(0, end);
}

std::optional<std::u16string> Accepted(std::u16string address) {
  const size_t first = address.find_first_not_of(u" \t");
  const size_t last = address.find_last_not_of(u" \t");
  if (first == std::u16string::npos) return std::nullopt;
  address = address.substr(first, last - first + 1);
  if (!IsPageAddress(address)) return std::nullopt;
  return address;
}

}  // namespace

std::optional<std::u16string> SourceAddressOnClipboard() {
  if (const std::string html = FormatBytes(L"HTML Format"); !html.empty()) {
    if (const auto url = SourceUrlFromHtmlFormat(html))
      if (auto address = Accepted(FromUtf8(*url))) return address;
  }
  if (const std::string chromium = FormatBytes(L"Chromium internal source URL"); !chromium.empty())
    if (auto address = Accepted(FormatText(chromium))) return address;
  if (const std::string mozilla = FormatBytes(L"text/x-moz-url-priv"); !mozilla.empty()) {
    // UTF-16: the address, perhaps followed by a line with the title.
    const std::u16string text = Utf16Prefix(mozilla);
    if (auto address = Accepted(text.substr(0, text.find_first_of(u"\r\n")))) return address;
  }
  return std::nullopt;
}

TCopiedSelection WaitForCopy(HWND owner, DWORD sequence, int limitMs) {
  TCopiedSelection copy;
  const DWORD start = GetTickCount();
  for (;;) {
    platform::ProcessMessages();
    if (GetClipboardSequenceNumber() != sequence) break;
    const int elapsed = static_cast<int>(GetTickCount() - start);
    if (elapsed >= limitMs) return copy;
    // Wakes for a message or after a few milliseconds to look again.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min(5, limitMs - elapsed)),
                              QS_ALLINPUT);
  }
  copy.clipboardChanged = true;
  // The program may still hold the clipboard open while it writes.
  if (!OpenClipboardPatiently(owner, 1000)) return copy;
  copy.text = UnicodeText();
  copy.sourceAddress = SourceAddressOnClipboard();
  CloseClipboard();
  return copy;
}

}  // namespace vellumio::capture
