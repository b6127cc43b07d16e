// What quote capture decides without a screen: which browser a window
// class belongs to, the page address in a browser's answer or in the
// clipboard's "HTML Format" header, the cut and trimming of a captured
// selection, the text of the new note, and the modifiers of a hot key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellumio::capture {

// The longest selection kept, counted before anything is appended.
inline constexpr size_t kMaxCaptureLength = 8000;

// The DDE service of a browser by the class name of its window, or empty
// when the class is no known browser. Classes compare case-sensitively;
// "OpWindow" and "IEFrame" only when equal, "MozillaUI" and "Chrome_"
// anywhere in the name.
std::u16string BrowserServiceFor(std::u16string_view windowClass);

// The address in a browser's "WWW_GetWindowInfo" answer ("\"url\",\"title\"...");
// nothing for an empty answer. The first character is dropped and the
// address ends before the first "\",\""; an answer without that separator
// gives an empty address (the note then ends in CR LF CR LF).
std::optional<std::string> AddressFromDdeReply(std::string_view reply);

// The "SourceURL:" line of a clipboard "HTML Format" header (ASCII header
// lines ending in CR LF or LF, before the "StartHTML" offset when it is
// given, and within the first 8 KB); nothing when the line is missing.
std::optional<std::string> SourceUrlFromHtmlFormat(std::string_view data);

// Only absolute http, https and ftp addresses count as a page address
// (any case in the scheme); anything else ("javascript:", relative, file)
// does not.
bool IsPageAddress(std::u16string_view address);

// The first kMaxCaptureLength characters, never splitting a surrogate
// pair (a cut inside one keeps the pair out).
std::u16string CutCapture(std::u16string_view text);

// Without leading and trailing white space and control characters (all
// characters up to U+0020).
std::u16string TrimCapture(std::u16string_view text);

// The text of the new note: the trimmed capture, CR LF CR LF and the
// address when there is one; else the trimmed capture, CR LF CR LF, "* "
// and the trimmed caption when that is not empty; else the cut capture as
// it is. `captured` is already cut.
std::u16string NoteTextFor(std::u16string_view captured,
                           const std::optional<std::u16string>& address,
                           std::u16string_view caption);

// A shortcut word (virtual key in the low byte, 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt) as RegisterHotKey takes it: MOD_ALT 1, MOD_CONTROL 2,
// MOD_SHIFT 4, and the key.
struct THotKeyCode {
  uint32_t modifiers = 0;
  uint32_t virtualKey = 0;
  bool operator==(const THotKeyCode&) const = default;
};
THotKeyCode HotKeyCodeOf(uint16_t shortcut);

}  // namespace vellumio::capture
