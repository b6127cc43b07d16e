// What the Windows benchmarks share: a note view host with fixed answers,
// the visible popup the measured windows live in, and a message pump.
#pragma once

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "noteview/NoteViewHost.h"

namespace vellumio::bench {

class TBenchHost final : public noteview::INoteViewHost {
public:
  noteview::TNoteViewOptions Options() const override { return {}; }
  std::u16string Text(std::u16string_view, std::u16string_view key) const override {
    std::u16string text(1, u'[');
    text.append(key);
    text.push_back(u']');
    return text;
  }
  std::u16string DateFormat() const override { return u"dddd, d mmmm yyyy"; }
  std::u16string NewNoteShortcut() const override { return u"Ctrl+Shift+N"; }
  std::u16string SchemesFolder() const override { return {}; }
  std::u16string CurrentSchemeFile() const override { return {}; }
  void NotesChanged(TNotesList&) override {}
  void NoteDragStarted(noteview::INoteViewControl&) override {}
  void NoteDragEnded(noteview::INoteViewControl&) override {}
  void EscapeFromList() override {}
  bool ConfirmDelete(const std::u16string&, std::u16string_view) override { return false; }
  bool CanEditReminders() const override { return false; }
  bool EditReminder(TNotesList&, TNoteItem&) override { return false; }
  bool CanPrint() const override { return false; }
  void Print(noteview::INoteViewControl&, bool, bool) override {}
};

inline LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The window the views are children of: a visible popup.
inline HWND MakeParent(int width, int height) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"NoteViewBenchParent";
  RegisterClassW(&wc);
  const HWND parent =
      CreateWindowExW(0, wc.lpszClassName, L"noteview_bench", WS_POPUP | WS_VISIBLE, 100, 100,
                      width, height, nullptr, nullptr, wc.hInstance, nullptr);
  if (!parent) throw std::runtime_error("cannot create the parent window");
  return parent;
}

inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace vellumio::bench
