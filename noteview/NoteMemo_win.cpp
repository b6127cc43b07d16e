#include "noteview/NoteMemo_win.h"

#include <algorithm>

namespace vellumio::noteview {

namespace {
bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }
}  // namespace

TNoteMemo::TNoteMemo(HWND parent, HINSTANCE instance) {
  Attach(CreateWindowExW(0, L"EDIT", L"",
                         WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL, 0,
                         0, 10, 10, parent, nullptr, instance, nullptr));
  // Notes are not limited to the edit control's 32 K default.
  SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

void TNoteMemo::SetText(const std::u16string& text) {
  // The edit control breaks lines only at CR LF.
  std::wstring wide;
  wide.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\n' && (i == 0 || text[i - 1] != u'\r')) wide.push_back(L'\r');
    wide.push_back(static_cast<wchar_t>(c));
    if (c == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')) wide.push_back(L'\n');
  }
  SetWindowTextW(Handle(), wide.c_str());
  QueueScrollBarUpdate();
}

void TNoteMemo::SetFont(HFONT font) {
  font_ = font;
  SetControlFont(font);
  QueueScrollBarUpdate();
}

void TNoteMemo::TextChanged() {
  QueueScrollBarUpdate();
  if (OnChange) OnChange();
}

void TNoteMemo::QueueScrollBarUpdate() {
  if (Defer)
    Defer([this] { UpdateScrollBar(); });
  else
    UpdateScrollBar();
}

void TNoteMemo::UpdateScrollBar() {
  if (!Handle()) return;
  const int lines = static_cast<int>(SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0));
  RECT client;
  GetClientRect(Handle(), &client);
  int lineHeight = 1;
  if (const HDC dc = GetDC(Handle())) {
    const HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    lineHeight = std::max<int>(1, metrics.tmHeight);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
  }
  const bool wanted = lines > client.bottom / lineHeight;
  if (wanted == scrollBar_) return;
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  scrollBar_ = wanted;
  ShowScrollBar(Handle(), SB_VERT, wanted);
  SendMessageW(Handle(), EM_SETSEL, start, end);
  SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

void TNoteMemo::DeleteCaretLine() {
  DWORD start = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  const int line = static_cast<int>(SendMessageW(Handle(), EM_LINEFROMCHAR, start, 0));
  const int lineStart = static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, line, 0));
  const int next = static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, line + 1, 0));
  const int end =
      next >= 0 ? next
                : lineStart + static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, lineStart, 0));
  SendMessageW(Handle(), EM_SETSEL, lineStart, end);
  SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

LRESULT TNoteMemo::Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_CHAR:
      switch (wParam) {
        case 1:  // Ctrl+A
          SendMessageW(Handle(), EM_SETSEL, 0, -1);
          return 0;
        case 25:  // Ctrl+Y
          DeleteCaretLine();
          return 0;
        case VK_ESCAPE:
        case 18:  // Ctrl+R
          if (OnKey && OnKey(static_cast<wchar_t>(wParam), KeyHeld(VK_SHIFT))) return 0;
          break;
        default:
          break;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_MOUSEWHEEL:
      // One line per wheel message, as in the card list.
      SendMessageW(Handle(), WM_VSCROLL,
                   GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      return 0;
    case WM_SIZE:
      handled = false;
      QueueScrollBarUpdate();
      return 0;
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace vellumio::noteview
