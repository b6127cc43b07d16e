#include "config/HotKeysDialog_win.h"

#include <commctrl.h>

#include <algorithm>

#include "config/SettingsDialogValues.h"
#include "config/SettingsGeneral.h"
#include "ui/PlaceNear_win.h"

namespace vellumio {

using ui::TControlKind;

namespace {

constexpr int kFieldLeft = 184, kFieldWidth = 170, kFieldHeight = 19;
constexpr int kFirstRowTop = 36, kRowStep = 28;
constexpr int kFirstFieldId = 301;

ui::TFormSpec HotKeysForm() { return {u"fHotKeys", u"[lCaption]", 399, 198}; }

std::vector<ui::TControlSpec> HotKeysControls() {
  std::vector<ui::TControlSpec> controls = {
      {u"gHotKeys", TControlKind::kGroupBox, u"[gHotKeys]", 8, 8, 383, 144},
  };
  const char16_t* labels[] = {u"[lGeneralKey]", u"[lHideKey]", u"[lReminderKey]", u"[lQuoteKey]"};
  for (int row = 0; row < 4; ++row)
    controls.push_back({u"l" + std::u16string(1, char16_t(u'1' + row)), TControlKind::kLabel,
                        labels[row], 20, kFirstRowTop + row * kRowStep + 2, 160, 17});
  controls.push_back({u"bOk", TControlKind::kDefaultButton, u"[.bOk]", 232, 163, 75, 25, 0, 0, IDOK});
  controls.push_back(
      {u"bCancel", TControlKind::kButton, u"[.bCancel]", 316, 163, 75, 25, 0, 0, IDCANCEL});
  return controls;
}

// Rows in the order of the fields e1..e4.
uint16_t& KeyOfRow(TSWHotKeys& keys, int row) {
  switch (row) {
    case 0: return keys.GeneralKey;
    case 1: return keys.HideKey;
    case 2: return keys.ReminderKey;
    default: return keys.QuoteKey;
  }
}

}  // namespace

TfHotKeys::TfHotKeys() : TForm(HotKeysForm(), HotKeysControls()) {}

TfHotKeys::~TfHotKeys() = default;

void TfHotKeys::CreateFields() {
  for (int row = 0; row < 4; ++row) {
    fields_[row] = std::make_unique<ui::TFormExtraControl>(
        *this, HOTKEY_CLASSW, WS_TABSTOP, 0, kFieldLeft + extra_, kFirstRowTop + row * kRowStep,
        kFieldWidth,
        kFieldHeight, kFirstFieldId + row);
    // A key alone, or with Shift only, would take that key from every
    // program: the field adds Alt instead.
    SendMessageW(fields_[row]->Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                 MAKELPARAM(HOTKEYF_ALT, 0));
  }
  // In the tab order after their labels' group, before the buttons.
  HWND previous = At(u"l4").Handle();
  for (const auto& field : fields_) {
    SetWindowPos(field->Handle(), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = field->Handle();
  }
}

void TfHotKeys::MakeRoomForLabels() {
  // A translation's labels may be longer than the designed 160 pixels: the
  // dialog grows wider instead of cutting them off.
  int widest = 0;
  for (const char16_t* name : {u"l1", u"l2", u"l3", u"l4"})
    widest = std::max(widest, ui::DesignTextWidth(*this, At(name).Text()) + 4);
  extra_ = std::max(0, widest - At(u"l1").Spec().width);
  if (extra_ == 0) return;
  SetClientSize(ClientWidth() + extra_, ClientHeight());
  const auto widen = [this](std::u16string_view name, int moveBy, int growBy) {
    const ui::TControlSpec spec = At(name).Spec();
    MoveControl(name, spec.left + moveBy, spec.top, spec.width + growBy, spec.height);
  };
  widen(u"gHotKeys", 0, extra_);
  for (const char16_t* name : {u"l1", u"l2", u"l3", u"l4"}) widen(name, 0, extra_);
  for (const char16_t* name : {u"bOk", u"bCancel"}) widen(name, extra_, 0);
}

HWND TfHotKeys::Field(int row) const {
  return row >= 1 && row <= 4 && fields_[row - 1] ? fields_[row - 1]->Handle() : nullptr;
}

uint16_t TfHotKeys::FieldKey(int row) const {
  const HWND field = Field(row);
  if (!field) return 0;
  return HotKeyWordToShortcut(LOWORD(SendMessageW(field, HKM_GETHOTKEY, 0, 0)));
}

bool TfHotKeys::Execute(TSWHotKeys& keys, HWND owner) {
  Create(owner);
  Translate();
  MakeRoomForLabels();
  CreateFields();
  for (int row = 0; row < 4; ++row)
    SendMessageW(fields_[row]->Handle(), HKM_SETHOTKEY, ShortcutToHotKeyWord(KeyOfRow(keys, row)),
                 0);
  ui::PlaceNear(Handle(), owner);
  if (ShowModal(owner) != IDOK) return false;
  for (int row = 0; row < 4; ++row) KeyOfRow(keys, row) = FieldKey(row + 1);
  return true;
}

void TfHotKeys::OnDpiApplied() {
  for (const auto& field : fields_)
    if (field) field->Place();
}

bool TfHotKeys::OnCommand(int id, int notifyCode, HWND control) {
  if (notifyCode != EN_CHANGE || !control) return false;
  for (const auto& field : fields_) {
    if (!field || field->Handle() != control) continue;
    // The field's own rules, made sure of: not every system's hot-key
    // control applies them.
    const auto word = static_cast<uint16_t>(LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0)));
    const uint16_t accepted = AcceptedHotKeyWord(word);
    if (accepted != word) SendMessageW(control, HKM_SETHOTKEY, accepted, 0);
    return true;
  }
  return false;
}

bool TfHotKeys::OnKeyPreview(const MSG& msg) {
  // A hot-key field takes every key, Escape and Enter included, as the key
  // to set; only the buttons end the dialog then.
  for (const auto& field : fields_)
    if (field && msg.hwnd == field->Handle()) return false;
  return TForm::OnKeyPreview(msg);
}

}  // namespace vellumio
