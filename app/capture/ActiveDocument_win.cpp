#include "app/capture/ActiveDocument_win.h"

#include <algorithm>

namespace vellumio::capture {

namespace {

// Another program's window may hang; it is given half a second.
HWND ActiveChildOf(HWND client) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(client, WM_MDIGETACTIVE, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 500,
                           &result))
    return nullptr;
  return reinterpret_cast<HWND>(result);
}

struct TClientSearch {
  HWND client = nullptr;
};

BOOL CALLBACK LookForClient(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<TClientSearch*>(data);
  if (ActiveChildOf(child)) {
    search->client = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::u16string TActiveDocumentFinder::CaptionOf(HWND window) {
  if (!window) return {};
  wchar_t caption[1024] = {};
  DWORD_PTR length = 0;
  // WM_GETTEXT with a time limit: GetWindowText of a hung window would wait.
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(caption),
                           SMTO_ABORTIFHUNG | SMTO_BLOCK, 500, &length))
    return {};
  return std::u16string(caption, caption + std::min<DWORD_PTR>(length, 1023));
}

HWND TActiveDocumentFinder::FindMdiClient(HWND foreground) {
  TClientSearch search;
  EnumChildWindows(foreground, &LookForClient, reinterpret_cast<LPARAM>(&search));
  return search.client;
}

HWND TActiveDocumentFinder::Find(HWND foreground) {
  if (!foreground) return nullptr;
  const std::u16string caption = CaptionOf(foreground);
  if (foreground != cachedWindow_ || caption != cachedCaption_ ||
      (cachedClient_ && !IsWindow(cachedClient_))) {
    cachedWindow_ = foreground;
    cachedCaption_ = caption;
    cachedClient_ = FindMdiClient(foreground);
  }
  if (!cachedClient_) return foreground;
  const HWND active = ActiveChildOf(cachedClient_);
  return active ? active : foreground;
}

}  // namespace vellumio::capture
