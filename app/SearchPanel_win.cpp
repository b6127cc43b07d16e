#include "app/SearchPanel_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/Win32Text_win.h"
#include "ui/FlatButton_win.h"
#include "ui/GdiHandles_win.h"

namespace vellumio::app {

namespace {

constexpr wchar_t kClassName[] = L"TVellumioSearchPan";
constexpr int kChangeId = 100;

// The panel's small glyphs are drawn at run time on white (white is
// transparent for the flat buttons), so that no glyph resource is needed
// for two triangles and a cross. `draw` paints on the white square.
template <class Draw>
HBITMAP DrawnGlyph(int size, Draw draw) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  {
    ui::TSelectGuard select(dc, bitmap);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc);
  }
  DeleteDC(dc);
  return bitmap;
}

// A step button's arrow.
HBITMAP ArrowGlyph(int size, bool pointsLeft) {
  return DrawnGlyph(size, [size, pointsLeft](HDC dc) {
    const int mid = size / 2, half = size / 4;
    const POINT left[] = {{mid - half, mid}, {mid + half, mid - 2 * half}, {mid + half, mid + 2 * half}};
    const POINT right[] = {{mid + half, mid}, {mid - half, mid - 2 * half}, {mid - half, mid + 2 * half}};
    ui::TSelectGuard brush(dc, GetStockObject(BLACK_BRUSH));
    ui::TSelectGuard pen(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, pointsLeft ? left : right, 3);
  });
}

// The close button's cross (the header's close glyph is white, made for
// the dark header).
HBITMAP CrossGlyph(int size) {
  return DrawnGlyph(size, [size](HDC dc) {
    ui::TGdiObject<HPEN> pen(CreatePen(PS_SOLID, std::max(1, size / 7), RGB(64, 64, 64)));
    ui::TSelectGuard usePen(dc, pen.Get());
    const int a = size / 4, b = size - size / 4;
    MoveToEx(dc, a, a, nullptr);
    LineTo(dc, b, b);
    MoveToEx(dc, b - 1, a, nullptr);
    LineTo(dc, a - 1, b);
  });
}

// A child's own visibility flag (IsWindowVisible is false for all of
// them while the main window is hidden).
bool Shown(HWND child) { return (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

// The filter field: a Unicode edit whose Esc, Backspace and arrow keys go
// to the panel's owner first.
class TSearchPanel::TField final : public ui::TSubclassedControl {
public:
  TField(HWND parent, HINSTANCE instance, TSearchPanel& panel) : panel_(panel) {
    Attach(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChangeId)), instance,
                           nullptr));
  }

protected:
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (message == WM_KEYDOWN && panel_.OnFieldKey && panel_.OnFieldKey(static_cast<unsigned>(wParam))) {
      handled = true;
      return 0;
    }
    // The characters of keys taken above (and Esc) must not beep.
    if (message == WM_CHAR && (wParam == VK_ESCAPE || wParam == VK_RETURN)) handled = true;
    return 0;
  }

private:
  TSearchPanel& panel_;
};

TSearchPanel::TSearchPanel(HWND parent, HINSTANCE instance) : instance_(instance) {
  static const bool registered =
      ui::TWindow::RegisterWindowClass(instance, kClassName, nullptr, nullptr, nullptr);
  (void)registered;
  CreateWindowHandle(kClassName, L"", WS_CHILD | WS_CLIPCHILDREN, 0, RECT{0, 0, 100, 30}, parent,
                     instance);
  label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_NOPREFIX,
                           0, 0, 10, 10, Handle(), nullptr, instance, nullptr);
  close_ = std::make_unique<ui::TFlatButton>(Handle(), instance);
  close_->OnClick = [this] {
    if (OnClose) OnClose();
  };
  previous_ = std::make_unique<ui::TFlatButton>(Handle(), instance);
  previous_->OnClick = [this] {
    if (OnStep) OnStep(-1);
  };
  next_ = std::make_unique<ui::TFlatButton>(Handle(), instance);
  next_->OnClick = [this] {
    if (OnStep) OnStep(1);
  };
  for (ui::TFlatButton* button : {close_.get(), previous_.get(), next_.get()})
    button->PaintBackground = [](HDC dc, const RECT& bounds) {
      RECT r{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
      FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
    };
  ShowWindow(previous_->Handle(), SW_HIDE);
  ShowWindow(next_->Handle(), SW_HIDE);
  field_ = std::make_unique<TField>(Handle(), instance, *this);
  SetDpi(96);
}

TSearchPanel::~TSearchPanel() = default;

void TSearchPanel::SetDpi(int dpi) {
  dpi_ = dpi;
  close_->SetGlyph(CrossGlyph(MulDiv(14, dpi_, 96)));
  previous_->SetGlyph(ArrowGlyph(MulDiv(12, dpi_, 96), true));
  next_->SetGlyph(ArrowGlyph(MulDiv(12, dpi_, 96), false));
  LayOut();
}

void TSearchPanel::SetFont(HFONT font) {
  font_ = font;
  SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  field_->SetControlFont(font);
  LayOut();
}

void TSearchPanel::SetBounds(int x, int y, int width) {
  MoveWindow(Handle(), x, y, width, Height(), TRUE);
  LayOut();
}

void TSearchPanel::SetLabel(const std::u16string& text) {
  SetWindowTextW(label_, platform::win::WideString(text).c_str());
  LayOut();
}

std::u16string TSearchPanel::Text() const { return field_->WindowText(); }

void TSearchPanel::SetText(const std::u16string& text) {
  field_->SetControlText(text);
  const auto end = static_cast<LPARAM>(text.size());
  SendMessageW(field_->Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
}

void TSearchPanel::FocusField() { SetFocus(field_->Handle()); }

bool TSearchPanel::FieldFocused() const { return GetFocus() == field_->Handle(); }

HWND TSearchPanel::FieldHandle() const { return field_->Handle(); }

void TSearchPanel::SetStepButtons(bool previous, bool next) {
  const bool changed = Shown(previous_->Handle()) != previous || Shown(next_->Handle()) != next;
  ShowWindow(previous_->Handle(), previous ? SW_SHOWNA : SW_HIDE);
  ShowWindow(next_->Handle(), next ? SW_SHOWNA : SW_HIDE);
  if (changed) LayOut();
}

void TSearchPanel::LayOut() {
  RECT client;
  GetClientRect(Handle(), &client);
  const auto scale = [this](int pixels) { return MulDiv(pixels, dpi_, 96); };
  const int height = client.bottom;
  const int button = scale(20);
  close_->SetBounds(scale(4), (height - button) / 2, button, button);
  // The label as wide as its text.
  wchar_t text[128] = {};
  GetWindowTextW(label_, text, 128);
  SIZE size{};
  const HDC dc = GetDC(label_);
  {
    ui::TSelectGuard select(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
  }
  ReleaseDC(label_, dc);
  const int labelLeft = scale(4) + button + scale(4);
  MoveWindow(label_, labelLeft, 0, size.cx, height, TRUE);
  // The field from 8 pixels after the label to 6 before the right edge,
  // less the step buttons' room (their widths and 6) while they show.
  const bool steps = Shown(previous_->Handle()) || Shown(next_->Handle());
  const int fieldLeft = labelLeft + size.cx + scale(8);
  int fieldRight = client.right - scale(6);
  if (steps) fieldRight -= 2 * button + scale(6);
  const int fieldHeight = std::min<int>(height - scale(6), size.cy + scale(8));
  MoveWindow(field_->Handle(), fieldLeft, (height - fieldHeight) / 2,
             std::max(scale(20), fieldRight - fieldLeft), fieldHeight, TRUE);
  previous_->SetBounds(fieldRight + scale(5), (height - button) / 2, button, button);
  next_->SetBounds(fieldRight + scale(5) + button + scale(3), (height - button) / 2, button, button);
}

void TSearchPanel::Paint(HDC dc, const RECT& client) const {
  FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
  RECT line{client.left, client.bottom - 1, client.right, client.bottom};
  FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
}

LRESULT TSearchPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      ui::PaintDoubleBuffered(Handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOBK));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    case WM_COMMAND:
      if (LOWORD(wParam) == kChangeId && HIWORD(wParam) == EN_CHANGE && OnChanged) {
        OnChanged();
        return 0;
      }
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace vellumio::app
