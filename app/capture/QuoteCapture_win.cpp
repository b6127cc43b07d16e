#include "app/capture/QuoteCapture_win.h"

#include "app/capture/BrowserAddress_win.h"
#include "app/capture/CaptureText.h"
#include "app/capture/ClipboardCopy_win.h"
#include "app/capture/ClipboardSnapshot_win.h"

namespace vellumio::capture {

namespace {

void Key(BYTE virtualKey, bool down) {
  const BYTE scan = static_cast<BYTE>(MapVirtualKeyW(virtualKey, 0));
  keybd_event(virtualKey, scan, down ? 0 : KEYEVENTF_KEYUP, 0);
}

}  // namespace

void TQuoteCapture::SendCopyKeys() {
  Key(VK_CONTROL, false);
  Key(VK_SHIFT, false);
  Key(VK_MENU, false);
  Key(VK_CONTROL, true);
  Key('C', true);
  Key('C', false);
  Key(VK_CONTROL, false);
}

std::optional<std::u16string> TQuoteCapture::Capture(HWND owner) {
  const HWND source = GetForegroundWindow();
  const TClipboardSnapshot before = TClipboardSnapshot::Take(owner);
  const DWORD sequence = GetClipboardSequenceNumber();
  SendCopyKeys();
  const TCopiedSelection copy = WaitForCopy(owner, sequence, kCopyWaitMs);
  // The copy went through the user's clipboard: whatever it held before
  // goes back, all formats of it.
  if (copy.clipboardChanged) before.Restore(owner);
  if (copy.text.empty()) return std::nullopt;

  const std::u16string captured = CutCapture(copy.text);
  std::optional<std::u16string> address = copy.sourceAddress;
  if (!address) address = AskBrowserForAddress(source);
  std::u16string caption;
  if (!address) caption = TActiveDocumentFinder::CaptionOf(documents_.Find(source));
  return NoteTextFor(captured, address, caption);
}

}  // namespace vellumio::capture
