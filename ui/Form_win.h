// A top-level form: a dialog-style or tool-style window whose child
// controls come from a small design table, translated by the same walk as
// every other component (lang/Component.h) and scaled for the DPI of the
// monitor it is on.
//
// Design measures are pixels at 96 DPI, as the forms were laid out; the
// form keeps them and recomputes the real rectangles whenever the DPI
// changes (WM_DPICHANGED), so a form dragged to another monitor keeps its
// proportions. Derived forms change the design (MoveControl,
// SetClientSize), never the scaled rectangles directly.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "lang/Component.h"
#include "ui/Window_win.h"

namespace vellumio::ui {

enum class TControlKind {
  kButton,
  kDefaultButton,
  kLabel,      // one line, no wrapping
  kWrapLabel,  // Unicode text wrapped at word boundaries
  kCheckBox,
  kListBox,
  kComboBox,  // a drop-down list to pick from, no typing
  kEdit,
  kRadioButton,
  kPanel,
  kGroupBox,
};

// One control as designed.
struct TControlSpec {
  std::u16string name;  // "bOk", "_eSettings"
  TControlKind kind = TControlKind::kLabel;
  std::u16string caption;  // a placeholder ("[lCaption]", "[.bOk]") or a fixed text
  int left = 0, top = 0, width = 0, height = 0;  // 96-DPI pixels, client coordinates
  DWORD extraStyle = 0;
  // The WM_COMMAND id; 0 gives the control an id of its own.
  int commandId = 0;
  // A button that ends a modal loop with this result (IDOK, IDYES, ...);
  // its command id is the result unless one is given.
  int modalResult = 0;
  // A tooltip; empty: the control has no "Hint".
  std::u16string hint;
  // A window class other than the kind's (a date picker, a multi-line
  // edit); `extraStyle` is then its whole style beyond WS_CHILD and
  // WS_VISIBLE, and the kind still decides how its text is read.
  const wchar_t* windowClass = nullptr;
};

enum class TFormStyle { kDialog, kTool };

struct TFormSpec {
  std::u16string name;                    // the default section of the form's texts ("fSelectLang")
  std::u16string caption;                 // a placeholder or a fixed text
  int clientWidth = 0, clientHeight = 0;  // 96-DPI pixels
  TFormStyle style = TFormStyle::kDialog;
};

struct FontDeleter {
  void operator()(HFONT font) const {
    if (font) DeleteObject(font);
  }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The face of the forms' font: "Segoe UI" where the system has it, else
// "Tahoma" (looked up once).
const std::u16string& FormFontFace();
// The forms' font at `points` for a monitor of `dpi`.
UniqueFont CreateFormFont(int dpi, int points = 8);
// The DPI of the monitor a window is on: GetDpiForWindow where the system
// has it (Windows 10 1607 and later), else the screen's device caps.
int WindowDpi(HWND window);

// The program's main window and its application window (the invisible
// owner of dialogs that gives them a taskbar button while they are open).
// Dialogs without an owner are owned by the application window, or by the
// main window when there is none; PlaceNear keeps dialogs on the main
// window's monitor. Both are null in the tests.
void SetMainWindow(HWND window);
HWND MainWindow();
void SetApplicationWindow(HWND window);
HWND ApplicationWindow();

// Translates the forms' placeholders (TForm::Translate); the program sets
// it when the language files are loaded and clears it before they go. Not
// owned. Without one the forms keep the texts they were designed with.
void SetFormTranslator(IComponentTranslator* translator);
IComponentTranslator* FormTranslator();

class TForm;

// One child control of a form, as the translation walk and the form's code
// see it.
class TFormControl final : public IComponent {
public:
  TFormControl(TForm& form, TControlSpec spec, HWND handle);

  HWND Handle() const { return handle_; }
  const TControlSpec& Spec() const { return spec_; }
  TControlKind Kind() const { return spec_.kind; }
  int CommandId() const { return GetDlgCtrlID(handle_); }

  std::u16string Text() const;
  void SetText(const std::u16string& text);
  bool Checked() const;
  void SetChecked(bool checked);
  bool Visible() const;
  void SetVisible(bool visible);
  // List boxes and combo boxes.
  bool HasItems() const;
  void ClearItems();
  void AddItem(const std::u16string& text);
  int Selected() const;  // -1: none
  void SetSelected(int index);

  std::u16string Name() const override { return spec_.name; }
  std::vector<std::u16string> StringPropertyNames() const override;
  std::u16string StringProperty(const std::u16string& name) const override;
  void SetStringProperty(const std::u16string& name, const std::u16string& value) override;
  size_t ItemCount() const override;
  std::u16string Item(size_t index) const override;
  void SetItem(size_t index, const std::u16string& text) override;

private:
  friend class TForm;
  std::u16string TextProperty() const;

  TForm& form_;
  TControlSpec spec_;  // the design; MoveControl changes its rectangle
  HWND handle_;
};

class TForm : public TWindow, public IComponent {
public:
  TForm(TFormSpec spec, std::vector<TControlSpec> controls);
  ~TForm() override;

  // Creates the window (hidden) and its controls at the DPI of the monitor
  // the window starts on. Without `owner` the application window owns it.
  void Create(HWND owner = nullptr);
  // Replaces the placeholders from the user's language (rereading the file,
  // as every form creation does); nothing without a form translator.
  void Translate();

  // Shows the form and runs its own message loop until a button with a
  // result is pressed, Escape is pressed (2) or the form is closed (2).
  // The owner (or the form's own owner) and the other visible windows of
  // the thread are disabled meanwhile. Creates the form first when it has
  // no window yet.
  int ShowModal(HWND owner = nullptr);
  // Ends a running ShowModal with `result`.
  void EndModal(int result);
  bool InModalLoop() const { return inModalLoop_; }

  int Dpi() const { return dpi_; }
  // A 96-DPI measure at the form's DPI.
  int Scale(int designPixels) const;
  HFONT Font() const { return font_.get(); }

  TFormControl* Control(std::u16string_view name) const;
  // Throws std::logic_error for a name the design lacks: a typing error.
  TFormControl& At(std::u16string_view name) const;
  // Moves a control in design measures.
  void MoveControl(std::u16string_view name, int left, int top, int width, int height);
  void SetClientSize(int width, int height);  // design measures
  int ClientWidth() const { return spec_.clientWidth; }
  int ClientHeight() const { return spec_.clientHeight; }

  std::u16string Caption() const;
  void SetCaption(const std::u16string& caption);
  // Screen rectangle of the whole window.
  RECT Bounds() const;
  void MoveTo(int left, int top);
  void CenterOnScreen();

  // Further components the translation walk visits (menus of the form);
  // not owned, in the order added, after the controls.
  void AddComponent(IComponent* component) { extra_.push_back(component); }

  // The form behind a window handle, or null when it is not a form.
  static TForm* FromHandle(HWND window);

  std::u16string Name() const override { return spec_.name; }
  std::vector<std::u16string> StringPropertyNames() const override { return {u"Caption"}; }
  std::u16string StringProperty(const std::u16string& name) const override;
  void SetStringProperty(const std::u16string& name, const std::u16string& value) override;
  size_t ChildCount() const override { return controls_.size() + extra_.size(); }
  IComponent* Child(size_t index) const override;

protected:
  // A WM_COMMAND; true when handled (the button results are not applied).
  virtual bool OnCommand(int id, int notifyCode, HWND control) { return false; }
  // Paints on the form's surface, below the controls.
  virtual void OnPaint(HDC dc) {}
  // The modal form has just become visible.
  virtual void OnShown() {}
  // The controls have their font and rectangles for a new DPI (also once
  // at creation); forms with fonts of their own set them here.
  virtual void OnDpiApplied() {}
  // A key on its way to the form or one of its controls; true when used.
  // The default turns Escape into result 2.
  virtual bool OnKeyPreview(const MSG& msg);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  friend class TFormControl;
  void CreateControl(TControlSpec spec, int autoId);
  void SetHint(TFormControl& control, const std::u16string& hint);
  // Applies the design at `dpi`: font, control rectangles, window size
  // (or `suggested`, the system's rectangle after a DPI change).
  void ApplyDpi(int dpi, const RECT* suggested);
  void PlaceControl(const TFormControl& control) const;
  void SizeWindow(const RECT* suggested);
  void RunModalLoop();
  int ResultOf(int commandId) const;
  int DefaultButtonId() const;

  TFormSpec spec_;
  std::vector<TControlSpec> design_;
  std::vector<std::unique_ptr<TFormControl>> controls_;
  std::vector<IComponent*> extra_;
  UniqueFont font_;
  HWND tooltip_ = nullptr;
  int dpi_ = 96;
  int modalResult_ = 0;
  bool inModalLoop_ = false;
};

// A menu (or a submenu) whose items the translation walk can reach: each
// named item shows its "Caption"; items named with a leading "_" take
// their caption from their name, so the same walk retranslates them after
// a change of language (the tray menu of the main window).
class TMenuComponent final : public IComponent {
public:
  // Exposes `menu` under `name`; `owned` destroys it with this object.
  TMenuComponent(std::u16string name, HMENU menu, bool owned = false);
  ~TMenuComponent() override;
  TMenuComponent(const TMenuComponent&) = delete;
  TMenuComponent& operator=(const TMenuComponent&) = delete;

  HMENU Menu() const { return menu_; }

  // Appends a command item; `caption` is a placeholder, a fixed text, or
  // empty for an item named with "_" (translated by name).
  void AddItem(std::u16string name, UINT commandId, const std::u16string& caption,
               UINT flags = MF_STRING);
  void AddSeparator();
  // Appends a submenu, whose own caption is translated like an item's.
  TMenuComponent& AddSubmenu(std::u16string name, const std::u16string& caption);
  // Names an item that the menu already has.
  void NameItem(std::u16string name, UINT commandId);

  std::u16string Name() const override { return name_; }
  std::vector<std::u16string> StringPropertyNames() const override;
  std::u16string StringProperty(const std::u16string& name) const override;
  void SetStringProperty(const std::u16string& name, const std::u16string& value) override;
  size_t ChildCount() const override { return children_.size(); }
  IComponent* Child(size_t index) const override { return children_.at(index).get(); }

private:
  TMenuComponent(std::u16string name, HMENU menu, HMENU parent);
  int PositionInParent() const;

  std::u16string name_;
  HMENU menu_;
  HMENU parent_ = nullptr;  // for a submenu: the menu that holds it
  bool owned_ = false;
  std::vector<std::unique_ptr<IComponent>> children_;
};

// A menu item's caption, by command id or by position.
std::u16string MenuItemText(HMENU menu, UINT item, bool byPosition);
void SetMenuItemText(HMENU menu, UINT item, bool byPosition, const std::u16string& text);

}  // namespace vellumio::ui
