// Waiting for the copy that a capture asked the foreground program for, and
// reading what it put on the clipboard: the text, and the address of the
// page it came from when the program said so in the copy.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vellumio::capture {

struct TCopiedSelection {
  bool clipboardChanged = false;
  std::u16string text;
  // An absolute http, https or ftp address the copy carried.
  std::optional<std::u16string> sourceAddress;
};

// Waits until the clipboard's sequence number moves on from `sequence` (the
// program has copied), at most `limitMs`, handling this thread's messages
// meanwhile and waking as soon as the change is seen; then reads the copy.
TCopiedSelection WaitForCopy(HWND owner, DWORD sequence, int limitMs);

// On an open clipboard: the page address of the copy, from the "HTML
// Format" header's SourceURL, "Chromium internal source URL" or
// "text/x-moz-url-priv", in that order.
std::optional<std::u16string> SourceAddressOnClipboard();

}  // namespace vellumio::capture
