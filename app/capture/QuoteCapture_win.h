// Quote capture: the selection of the program in front, copied through the
// clipboard, with the address of the page or the caption of the window it
// came from, as the text of a new note. The clipboard is given back as the
// user had it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/capture/ActiveDocument_win.h"

namespace vellumio::capture {

// The longest wait for the program's copy: 16 rounds of 200 ms.
inline constexpr int kCopyWaitMs = 16 * 200;

class TQuoteCapture {
public:
  // The new note's text; nothing when no text was copied (nothing is
  // selected, or the program did not copy in time). `owner` is the window
  // that holds the clipboard while restoring it.
  std::optional<std::u16string> Capture(HWND owner);

  // The keys of a copy, as the user would press them: the hot key's
  // modifiers released first, then Ctrl+C.
  static void SendCopyKeys();

private:
  TActiveDocumentFinder documents_;
};

}  // namespace vellumio::capture
