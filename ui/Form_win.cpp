#include "ui/Form_win.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/Win32Text_win.h"

namespace vellumio::ui {

using platform::win::W;

namespace {

constexpr wchar_t kFormClass[] = L"VellumioForm";
constexpr int kFirstAutoId = 1000;
constexpr int kResultCancel = 2;
constexpr int kComboListHeight = 160;

HWND g_mainWindow = nullptr;
HWND g_applicationWindow = nullptr;
IComponentTranslator* g_formTranslator = nullptr;

const std::u16string kCaption = u"Caption";
const std::u16string kText = u"Text";
const std::u16string kHint = u"Hint";

std::u16string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

int CALLBACK FoundFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool SystemHasFont(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  const HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &wanted, &FoundFont, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

int ScreenDpi() {
  const HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

// Windows 10 1607 added the per-window DPI functions; older systems have
// one DPI for all monitors, the screen's.
template <typename F>
F User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const Fn adjust = User32Function<Fn>("AdjustWindowRectExForDpi");
  if (adjust) {
    adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

struct TKindClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

TKindClass ClassOf(TControlKind kind) {
  switch (kind) {
    case TControlKind::kButton:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case TControlKind::kDefaultButton:
      return {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
    case TControlKind::kLabel:
      return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case TControlKind::kWrapLabel:
      // SS_EDITCONTROL breaks words longer than a line as an edit control
      // does, instead of cutting them off at the right edge.
      return {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0};
    case TControlKind::kCheckBox:
      return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case TControlKind::kListBox:
      return {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE};
    case TControlKind::kComboBox:
      return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case TControlKind::kRadioButton:
      return {L"BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    case TControlKind::kEdit:
      return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case TControlKind::kPanel:
      return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case TControlKind::kGroupBox:
      return {L"BUTTON", BS_GROUPBOX, 0};
  }
  return {L"STATIC", 0, 0};
}

// List boxes and combo boxes keep items alike, under other message numbers.
struct TItemMessages {
  UINT reset, add, insert, remove, count, textLength, text, getSelected, setSelected, getData,
      setData;
};

const TItemMessages kListBoxItems{LB_RESETCONTENT, LB_ADDSTRING,   LB_INSERTSTRING, LB_DELETESTRING,
                                  LB_GETCOUNT,     LB_GETTEXTLEN,  LB_GETTEXT,      LB_GETCURSEL,
                                  LB_SETCURSEL,    LB_GETITEMDATA, LB_SETITEMDATA};
const TItemMessages kComboBoxItems{
    CB_RESETCONTENT, CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_GETCOUNT,   CB_GETLBTEXTLEN,
    CB_GETLBTEXT,    CB_GETCURSEL, CB_SETCURSEL,    CB_GETITEMDATA,  CB_SETITEMDATA};
static_assert(LB_ERR == CB_ERR);

const TItemMessages& ItemMessages(TControlKind kind) {
  return kind == TControlKind::kComboBox ? kComboBoxItems : kListBoxItems;
}

bool IsButton(TControlKind kind) {
  return kind == TControlKind::kButton || kind == TControlKind::kDefaultButton;
}

bool RegisterFormClass(HINSTANCE instance) {
  static const bool registered = TWindow::RegisterWindowClass(
      instance, kFormClass, nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return registered;
}

}  // namespace

// ---- Fonts, DPI and the program's windows ----------------------------------

const std::u16string& FormFontFace() {
  static const std::u16string face = SystemHasFont(L"Segoe UI") ? u"Segoe UI" : u"Tahoma";
  return face;
}

UniqueFont CreateFormFont(int dpi, int points) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, dpi, 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, W(FormFontFace()), LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

int WindowDpi(HWND window) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn forWindow = User32Function<Fn>("GetDpiForWindow");
  const int dpi = forWindow && window ? static_cast<int>(forWindow(window)) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

void SetMainWindow(HWND window) { g_mainWindow = window; }
HWND MainWindow() { return g_mainWindow; }
void SetApplicationWindow(HWND window) { g_applicationWindow = window; }
HWND ApplicationWindow() { return g_applicationWindow ? g_applicationWindow : g_mainWindow; }
void SetFormTranslator(IComponentTranslator* translator) { g_formTranslator = translator; }
IComponentTranslator* FormTranslator() { return g_formTranslator; }

// ---- TFormControl -----------------------------------------------------------

TFormControl::TFormControl(TForm& form, TControlSpec spec, HWND handle)
    : form_(form), spec_(std::move(spec)), handle_(handle) {}

std::u16string TFormControl::Text() const { return WindowText(handle_); }

void TFormControl::SetText(const std::u16string& text) { SetWindowTextW(handle_, W(text)); }

bool TFormControl::Checked() const {
  return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TFormControl::SetChecked(bool checked) {
  SendMessageW(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TFormControl::Visible() const {
  return (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TFormControl::SetVisible(bool visible) { ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE); }

bool TFormControl::HasItems() const {
  return spec_.kind == TControlKind::kListBox || spec_.kind == TControlKind::kComboBox;
}

void TFormControl::ClearItems() { SendMessageW(handle_, ItemMessages(spec_.kind).reset, 0, 0); }

void TFormControl::AddItem(const std::u16string& text) {
  SendMessageW(handle_, ItemMessages(spec_.kind).add, 0, reinterpret_cast<LPARAM>(W(text)));
}

int TFormControl::Selected() const {
  const LRESULT index = SendMessageW(handle_, ItemMessages(spec_.kind).getSelected, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void TFormControl::SetSelected(int index) {
  SendMessageW(handle_, ItemMessages(spec_.kind).setSelected, static_cast<WPARAM>(index), 0);
}

std::u16string TFormControl::TextProperty() const {
  return spec_.kind == TControlKind::kEdit ? kText : kCaption;
}

std::vector<std::u16string> TFormControl::StringPropertyNames() const {
  std::vector<std::u16string> names;
  if (!HasItems()) names.push_back(TextProperty());
  if (!spec_.hint.empty()) names.push_back(kHint);
  return names;
}

std::u16string TFormControl::StringProperty(const std::u16string& name) const {
  if (name == kHint) return spec_.hint;
  return name == TextProperty() ? Text() : std::u16string();
}

void TFormControl::SetStringProperty(const std::u16string& name, const std::u16string& value) {
  if (name == kHint && !spec_.hint.empty()) {
    form_.SetHint(*this, value);
  } else if (name == TextProperty() && !HasItems()) {
    SetText(value);
  }
}

size_t TFormControl::ItemCount() const {
  if (!HasItems()) return 0;
  const LRESULT count = SendMessageW(handle_, ItemMessages(spec_.kind).count, 0, 0);
  return count == LB_ERR ? 0 : static_cast<size_t>(count);
}

std::u16string TFormControl::Item(size_t index) const {
  const TItemMessages& m = ItemMessages(spec_.kind);
  const LRESULT length = SendMessageW(handle_, m.textLength, index, 0);
  if (length == LB_ERR) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  SendMessageW(handle_, m.text, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

void TFormControl::SetItem(size_t index, const std::u16string& text) {
  // Neither list can change an item's text: replace the item, keeping its
  // data and the selection.
  const TItemMessages& m = ItemMessages(spec_.kind);
  const LRESULT data = SendMessageW(handle_, m.getData, index, 0);
  const int selected = Selected();
  SendMessageW(handle_, m.remove, index, 0);
  SendMessageW(handle_, m.insert, index, reinterpret_cast<LPARAM>(W(text)));
  SendMessageW(handle_, m.setData, index, data);
  if (selected >= 0) SetSelected(selected);
}

// ---- TForm ------------------------------------------------------------------

TForm::TForm(TFormSpec spec, std::vector<TControlSpec> controls)
    : spec_(std::move(spec)), design_(std::move(controls)) {}

TForm::~TForm() {
  // The controls' objects must not outlive their windows, nor the other way
  // round: the base destroys the window, which destroys the children.
  if (tooltip_) DestroyWindow(tooltip_);
}

void TForm::Create(HWND owner) {
  if (Handle()) return;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterFormClass(instance)) throw std::runtime_error("Cannot register the form class");
  const bool tool = spec_.style == TFormStyle::kTool;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_CONTROLPARENT | (tool ? WS_EX_TOOLWINDOW : WS_EX_DLGMODALFRAME);
  const RECT bounds{0, 0, spec_.clientWidth, spec_.clientHeight};
  CreateWindowHandle(kFormClass, std::wstring(W(spec_.caption)), style, exStyle, bounds,
                     owner ? owner : ApplicationWindow(), instance);
  dpi_ = WindowDpi(Handle());
  font_ = CreateFormFont(dpi_);
  int autoId = kFirstAutoId;
  for (TControlSpec& control : design_) CreateControl(std::move(control), autoId++);
  design_.clear();
  ApplyDpi(dpi_, nullptr);
  CenterOnScreen();  // until the form places itself
}

void TForm::CreateControl(TControlSpec spec, int autoId) {
  TKindClass kind = ClassOf(spec.kind);
  if (spec.windowClass) kind = {spec.windowClass, 0, kind.exStyle};
  const int id = spec.commandId ? spec.commandId : spec.modalResult ? spec.modalResult : autoId;
  const HWND handle = CreateWindowExW(
      kind.exStyle, kind.className, W(spec.caption),
      WS_CHILD | WS_VISIBLE | kind.style | spec.extraStyle, 0, 0, 0, 0, Handle(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!handle)
    throw std::runtime_error("Cannot create a control (error " + std::to_string(GetLastError()) +
                             ")");
  const std::u16string hint = spec.hint;
  controls_.push_back(std::make_unique<TFormControl>(*this, std::move(spec), handle));
  if (!hint.empty()) SetHint(*controls_.back(), hint);
}

void TForm::SetHint(TFormControl& control, const std::u16string& hint) {
  control.spec_.hint = hint;
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return;  // no tips is no reason to fail the form
  }
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(control.Handle());
  // No text buffer while asking: TTM_GETTOOLINFO would copy the old text
  // into it.
  tool.lpszText = nullptr;
  const bool known = SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = const_cast<wchar_t*>(W(control.spec_.hint));
  SendMessageW(tooltip_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
               reinterpret_cast<LPARAM>(&tool));
}

void TForm::Translate() {
  if (IComponentTranslator* translator = g_formTranslator) translator->Translate(this);
}

int TForm::Scale(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }

void TForm::ApplyDpi(int dpi, const RECT* suggested) {
  dpi_ = dpi;
  UniqueFont font = CreateFormFont(dpi_);
  for (const auto& control : controls_) {
    SendMessageW(control->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    PlaceControl(*control);
  }
  font_ = std::move(font);  // the old font only now, when no control uses it
  SizeWindow(suggested);
  OnDpiApplied();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm::PlaceControl(const TFormControl& control) const {
  const TControlSpec& s = control.spec_;
  // A combo box takes its own height from the font; the height it is given
  // is that of its open list.
  const int height = s.kind == TControlKind::kComboBox ? s.height + kComboListHeight : s.height;
  SetWindowPos(control.Handle(), nullptr, Scale(s.left), Scale(s.top), Scale(s.width),
               Scale(height), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SizeWindow(const RECT* suggested) {
  if (suggested) {
    SetWindowPos(Handle(), nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  RECT frame{0, 0, Scale(spec_.clientWidth), Scale(spec_.clientHeight)};
  AdjustForDpi(frame, static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)),
               static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)), dpi_);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

TFormControl* TForm::Control(std::u16string_view name) const {
  for (const auto& control : controls_) {
    if (control->spec_.name == name) return control.get();
  }
  return nullptr;
}

TFormControl& TForm::At(std::u16string_view name) const {
  TFormControl* control = Control(name);
  if (!control) throw std::logic_error("The form has no control of that name");
  return *control;
}

void TForm::MoveControl(std::u16string_view name, int left, int top, int width, int height) {
  TFormControl& control = At(name);
  control.spec_.left = left, control.spec_.top = top;
  control.spec_.width = width, control.spec_.height = height;
  if (Handle()) PlaceControl(control);
}

void TForm::SetClientSize(int width, int height) {
  spec_.clientWidth = width, spec_.clientHeight = height;
  if (Handle()) SizeWindow(nullptr);
}

std::u16string TForm::Caption() const { return Handle() ? WindowText(Handle()) : spec_.caption; }

void TForm::SetCaption(const std::u16string& caption) {
  spec_.caption = caption;
  if (Handle()) SetWindowTextW(Handle(), W(caption));
}

RECT TForm::Bounds() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return r;
}

void TForm::MoveTo(int left, int top) {
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TForm::CenterOnScreen() {
  // The monitor that shows the main window, else the primary one.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  const HMONITOR where = MainWindow() ? MonitorFromWindow(MainWindow(), MONITOR_DEFAULTTOPRIMARY)
                                      : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (!GetMonitorInfoW(where, &monitor)) return;
  const RECT& area = monitor.rcWork;
  const RECT r = Bounds();
  MoveTo(area.left + (area.right - area.left - (r.right - r.left)) / 2,
         area.top + (area.bottom - area.top - (r.bottom - r.top)) / 2);
}

TForm* TForm::FromHandle(HWND window) {
  wchar_t className[64] = {};
  if (!window || !GetClassNameW(window, className, 64) || lstrcmpW(className, kFormClass) != 0)
    return nullptr;
  auto* base = reinterpret_cast<TWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return dynamic_cast<TForm*>(base);
}

std::u16string TForm::StringProperty(const std::u16string& name) const {
  return name == kCaption ? Caption() : std::u16string();
}

void TForm::SetStringProperty(const std::u16string& name, const std::u16string& value) {
  if (name == kCaption) SetCaption(value);
}

IComponent* TForm::Child(size_t index) const {
  if (index < controls_.size()) return controls_[index].get();
  return extra_.at(index - controls_.size());
}

// ---- The modal loop ---------------------------------------------------------

namespace {

// The windows a modal form keeps from input: the owner, and every other
// window of the thread that takes input (the main window, the dock line,
// other dialogs), so that nothing behind the form can be clicked. Enabled
// again in the order they were disabled, also when an exception leaves.
class TDisabledWindows {
public:
  TDisabledWindows(HWND form, HWND owner) : form_(form) {
    if (owner) Disable(owner);
    EnumThreadWindows(GetCurrentThreadId(), &TDisabledWindows::Found,
                      reinterpret_cast<LPARAM>(this));
  }
  ~TDisabledWindows() { Restore(); }
  TDisabledWindows(const TDisabledWindows&) = delete;
  TDisabledWindows& operator=(const TDisabledWindows&) = delete;

  void Restore() {
    for (HWND window : windows_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    windows_.clear();
  }

private:
  static BOOL CALLBACK Found(HWND window, LPARAM self) {
    auto* disabled = reinterpret_cast<TDisabledWindows*>(self);
    if (IsWindowVisible(window)) disabled->Disable(window);
    return TRUE;
  }
  void Disable(HWND window) {
    if (window == form_ || !IsWindowEnabled(window)) return;
    EnableWindow(window, FALSE);
    windows_.push_back(window);
  }

  HWND form_;
  std::vector<HWND> windows_;
};

}  // namespace

int TForm::ShowModal(HWND owner) {
  if (!Handle()) Create(owner);
  TDisabledWindows disabled(Handle(),
                            owner ? GetAncestor(owner, GA_ROOT) : GetWindow(Handle(), GW_OWNER));
  modalResult_ = 0;
  inModalLoop_ = true;
  ShowWindow(Handle(), SW_SHOW);
  if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) SetFocus(first);
  OnShown();
  RunModalLoop();
  inModalLoop_ = false;
  // The others first: enabled again before the form hides, the owner gets
  // the activation back instead of some other program.
  disabled.Restore();
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
  return modalResult_ ? modalResult_ : kResultCancel;
}

void TForm::RunModalLoop() {
  MSG msg;
  while (modalResult_ == 0 && Handle()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
    if (got <= 0) break;
    const bool ours = msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd);
    if (ours && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && OnKeyPreview(msg))
      continue;
    if (!IsDialogMessageW(Handle(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void TForm::EndModal(int result) { modalResult_ = result; }

bool TForm::OnKeyPreview(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) return false;
  EndModal(kResultCancel);
  return true;
}

int TForm::ResultOf(int commandId) const {
  for (const auto& control : controls_) {
    if (IsButton(control->Kind()) && control->spec_.modalResult != 0 &&
        control->CommandId() == commandId)
      return control->spec_.modalResult;
  }
  return commandId == IDCANCEL ? kResultCancel : 0;
}

int TForm::DefaultButtonId() const {
  for (const auto& control : controls_) {
    if (control->Kind() == TControlKind::kDefaultButton && control->Visible())
      return control->CommandId();
  }
  return 0;
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      const HWND control = reinterpret_cast<HWND>(lParam);
      if (OnCommand(id, code, control)) return 0;
      if (code == BN_CLICKED || !control) {
        if (const int result = ResultOf(id); result && inModalLoop_) EndModal(result);
      }
      return 0;
    }
    case DM_GETDEFID: {
      // Enter in the dialog manager (IsDialogMessage) presses this button.
      const int id = DefaultButtonId();
      return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(Handle(), &ps);
      OnPaint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      if (inModalLoop_) {
        EndModal(kResultCancel);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

// ---- Menus ------------------------------------------------------------------

std::u16string MenuItemText(HMENU menu, UINT item, bool byPosition) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoW(menu, item, byPosition, &info)) return {};
  std::u16string text(info.cch + 1, u'\0');
  info.dwTypeData = reinterpret_cast<wchar_t*>(text.data());
  info.cch += 1;
  if (!GetMenuItemInfoW(menu, item, byPosition, &info)) return {};
  text.resize(info.cch);
  return text;
}

void SetMenuItemText(HMENU menu, UINT item, bool byPosition, const std::u16string& text) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(W(text));
  SetMenuItemInfoW(menu, item, byPosition, &info);
}

namespace {

class TMenuItemComponent final : public IComponent {
public:
  TMenuItemComponent(std::u16string name, HMENU menu, UINT commandId)
      : name_(std::move(name)), menu_(menu), commandId_(commandId) {}

  std::u16string Name() const override { return name_; }
  std::vector<std::u16string> StringPropertyNames() const override { return {kCaption}; }
  std::u16string StringProperty(const std::u16string& name) const override {
    return name == kCaption ? MenuItemText(menu_, commandId_, false) : std::u16string();
  }
  void SetStringProperty(const std::u16string& name, const std::u16string& value) override {
    if (name == kCaption) SetMenuItemText(menu_, commandId_, false, value);
  }

private:
  std::u16string name_;
  HMENU menu_;
  UINT commandId_;
};

}  // namespace

TMenuComponent::TMenuComponent(std::u16string name, HMENU menu, bool owned)
    : name_(std::move(name)), menu_(menu), owned_(owned) {}

TMenuComponent::TMenuComponent(std::u16string name, HMENU menu, HMENU parent)
    : name_(std::move(name)), menu_(menu), parent_(parent) {}

TMenuComponent::~TMenuComponent() {
  if (owned_ && menu_) DestroyMenu(menu_);
}

void TMenuComponent::AddItem(std::u16string name, UINT commandId, const std::u16string& caption,
                             UINT flags) {
  AppendMenuW(menu_, flags | MF_STRING, commandId, W(caption));
  NameItem(std::move(name), commandId);
}

void TMenuComponent::AddSeparator() { AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }

TMenuComponent& TMenuComponent::AddSubmenu(std::u16string name, const std::u16string& caption) {
  const HMENU popup = CreatePopupMenu();
  AppendMenuW(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), W(caption));
  // The parent menu destroys the popup with itself.
  children_.push_back(
      std::unique_ptr<TMenuComponent>(new TMenuComponent(std::move(name), popup, menu_)));
  return static_cast<TMenuComponent&>(*children_.back());
}

void TMenuComponent::NameItem(std::u16string name, UINT commandId) {
  children_.push_back(std::make_unique<TMenuItemComponent>(std::move(name), menu_, commandId));
}

int TMenuComponent::PositionInParent() const {
  const int count = parent_ ? GetMenuItemCount(parent_) : 0;
  for (int i = 0; i < count; ++i) {
    if (GetSubMenu(parent_, i) == menu_) return i;
  }
  return -1;
}

std::vector<std::u16string> TMenuComponent::StringPropertyNames() const {
  if (!parent_) return {};
  return {kCaption};
}

std::u16string TMenuComponent::StringProperty(const std::u16string& name) const {
  const int position = PositionInParent();
  if (name != kCaption || position < 0) return {};
  return MenuItemText(parent_, static_cast<UINT>(position), true);
}

void TMenuComponent::SetStringProperty(const std::u16string& name, const std::u16string& value) {
  const int position = PositionInParent();
  if (name == kCaption && position >= 0)
    SetMenuItemText(parent_, static_cast<UINT>(position), true, value);
}

}  // namespace vellumio::ui
