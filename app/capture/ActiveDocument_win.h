// The window a capture names as its source when no page address is known:
// the foreground window, or in a program with several documents in one
// window (an MDI client) its active document.
#pragma once

#include <windows.h>

#include <string>

namespace vellumio::capture {

class TActiveDocumentFinder {
public:
  // The active document window of `foreground`, or `foreground` itself.
  // The search for the document client is remembered for the same window
  // with the same caption.
  HWND Find(HWND foreground);
  static std::u16string CaptionOf(HWND window);

private:
  static HWND FindMdiClient(HWND foreground);

  HWND cachedWindow_ = nullptr;
  std::u16string cachedCaption_;
  HWND cachedClient_ = nullptr;
};

}  // namespace vellumio::capture
