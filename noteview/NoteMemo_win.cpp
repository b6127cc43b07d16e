#include "noteview/NoteMemo_win.h"

#include <richedit.h>

#include <algorithm>

namespace vellumio::noteview {

namespace {
bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }
}  // namespace

// A rich edit control in plain-text mode: it wraps a long paragraph in
// time proportional to its length, where the plain edit control of some
// systems takes seconds for a few thousand characters. The plain edit
// control remains for a system without one.
namespace {
const wchar_t* RichEditClass() {
  static const wchar_t* const className = [] {
    if (LoadLibraryW(L"Msftedit.dll")) return MSFTEDIT_CLASS;
    if (LoadLibraryW(L"Riched20.dll")) return RICHEDIT_CLASSW;
    return static_cast<const wchar_t*>(nullptr);
  }();
  return className;
}
}  // namespace

void TNoteMemo::LoadControlLibrary() { RichEditClass(); }

TNoteMemo::TNoteMemo(HWND parent, HINSTANCE instance) {
  const wchar_t* className = RichEditClass();
  const DWORD style = WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
  HWND hwnd = nullptr;
  if (className) {
    // The rich edit control shows its scroll bar only when the text needs
    // it, which is the rule the plain one is given below.
    hwnd = CreateWindowExW(0, className, L"", style | WS_VSCROLL, 0, 0, 10, 10, parent, nullptr,
                           instance, nullptr);
  }
  rich_ = hwnd != nullptr;
  if (!hwnd) {
    hwnd =
        CreateWindowExW(0, L"EDIT", L"", style, 0, 0, 10, 10, parent, nullptr, instance, nullptr);
  }
  Attach(hwnd);
  if (rich_) {
    SendMessageW(Handle(), EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
    SendMessageW(Handle(), EM_SETEVENTMASK, 0, ENM_CHANGE);
    SendMessageW(Handle(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  } else {
    // Notes are not limited to the edit control's 32 K default.
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
  }
}

std::u16string TNoteMemo::Text() const {
  if (!rich_) return WindowText();
  // Line breaks as CR LF, as the notes keep them.
  GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  const LRESULT count =
      SendMessageW(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (count <= 0) return {};
  std::wstring text(static_cast<size_t>(count) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = GT_USECRLF;
  get.codepage = 1200;
  const LRESULT got = SendMessageW(Handle(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::max<LRESULT>(0, got)));
  return std::u16string(text.begin(), text.end());
}

void TNoteMemo::SetColors(COLORREF background, COLORREF text) {
  background_ = background;
  text_ = text;
  if (!rich_) return;  // the parent colours a plain edit control
  SendMessageW(Handle(), EM_SETBKGNDCOLOR, 0, background);
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  format.crTextColor = text;
  SendMessageW(Handle(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
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
  if (rich_) SetColors(background_, text_);
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
  if (!Handle() || rich_) return;
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
