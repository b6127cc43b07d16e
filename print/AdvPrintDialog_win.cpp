#include "print/AdvPrintDialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/Utf8.h"
#include "config/ConfStore.h"
#include "print/PrinterDC_win.h"
#include "ui/PlaceNear_win.h"

namespace vellumio {

using ui::TControlKind;

namespace {

constexpr int kSetupId = 311, kDefaultId = 312, kFirstSpinId = 321;
constexpr int kEditWidth = 50, kSpinWidth = 17, kEditHeight = 21;

struct TField {
  const char16_t* name;
  int left, top;
  int maximum;
};
// e2 is the text size; c1..c4 the margins in the order left, top, right, bottom.
constexpr TField kFields[] = {
    {u"e2", 180, 10, 100}, {u"c1", 90, 64, 5000}, {u"c2", 250, 64, 5000},
    {u"c3", 90, 94, 5000}, {u"c4", 250, 94, 5000},
};

ui::TFormSpec AdvPrintForm() { return {u"fAdvPrint", u"[lCaption]", 340, 198}; }

std::vector<ui::TControlSpec> AdvPrintControls() {
  std::vector<ui::TControlSpec> controls = {
      {u"lFontSize", TControlKind::kLabel, u"[lFontSize]", 8, 13, 168, 17},
      {u"gMargins", TControlKind::kGroupBox, u"[gMargins]", 8, 42, 324, 84},
      {u"lLeft", TControlKind::kLabel, u"[lLeft]", 18, 67, 70, 17},
      {u"lTop", TControlKind::kLabel, u"[lTop]", 178, 67, 70, 17},
      {u"lRight", TControlKind::kLabel, u"[lRight]", 18, 97, 70, 17},
      {u"lBottom", TControlKind::kLabel, u"[lBottom]", 178, 97, 70, 17},
  };
  for (const TField& field : kFields)
    controls.push_back({field.name, TControlKind::kEdit, u"", field.left, field.top, kEditWidth,
                        kEditHeight, ES_NUMBER});
  controls.push_back({u"c10", TControlKind::kCheckBox, u"[.cDoNotShow]", 8, 136, 324, 17});
  controls.push_back({u"bSetup", TControlKind::kButton, u"[bSetup]", 8, 165, 75, 25, 0, kSetupId});
  controls.push_back(
      {u"bPrint", TControlKind::kDefaultButton, u"[bPrint]", 91, 165, 75, 25, 0, 0, IDOK});
  controls.push_back(
      {u"bDefault", TControlKind::kButton, u"[.bDefault]", 174, 165, 75, 25, 0, kDefaultId});
  controls.push_back(
      {u"bCancel", TControlKind::kButton, u"[.bCancel]", 257, 165, 75, 25, 0, 0, IDCANCEL});
  return controls;
}

int FieldValue(const std::u16string& text, int maximum) {
  int value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = std::min(value * 10 + (c - u'0'), 1000000);
  }
  return std::clamp(value, 0, maximum);
}

std::u16string Number(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

TfAdvPrint::TfAdvPrint() : TForm(AdvPrintForm(), AdvPrintControls()) {}

TfAdvPrint::~TfAdvPrint() = default;

void TfAdvPrint::CreateSpins() {
  for (size_t i = 0; i < spins_.size(); ++i) {
    const TField& field = kFields[i];
    spins_[i] = std::make_unique<ui::TFormExtraControl>(
        *this, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
        field.left + kEditWidth, field.top, kSpinWidth, kEditHeight,
        kFirstSpinId + static_cast<int>(i));
    SendMessageW(spins_[i]->Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(At(field.name).Handle()),
                 0);
    SendMessageW(spins_[i]->Handle(), UDM_SETRANGE32, 0, field.maximum);
    // The buddy moved the spin; the design keeps it beside the edit.
    spins_[i]->Place();
  }
}

void TfAdvPrint::OnDpiApplied() {
  for (const auto& spin : spins_)
    if (spin) spin->Place();
}

HWND TfAdvPrint::Field(std::u16string_view name) const { return At(name).Handle(); }

void TfAdvPrint::Fill(const TPrintSettings& s) {
  const int values[] = {s.FontSize, s.MrgLeft, s.MrgTop, s.MrgRight, s.MrgBottom};
  for (size_t i = 0; i < spins_.size(); ++i) At(kFields[i].name).SetText(Number(values[i]));
}

TPrintSettings TfAdvPrint::Read() const {
  TPrintSettings s;
  int* values[] = {&s.FontSize, &s.MrgLeft, &s.MrgTop, &s.MrgRight, &s.MrgBottom};
  for (size_t i = 0; i < spins_.size(); ++i)
    *values[i] = FieldValue(At(kFields[i].name).Text(), kFields[i].maximum);
  return s;
}

bool TfAdvPrint::OnCommand(int id, int notifyCode, HWND) {
  if (notifyCode != BN_CLICKED) return false;
  if (id == kDefaultId) {
    Fill(TPrintSettings());
    return true;
  }
  if (id == kSetupId) {
    ChoosePrinter(Handle());
    return true;
  }
  return false;
}

bool TfAdvPrint::Execute(TConfStore& store, bool forceDialog, TPrintSettings& settings,
                         HWND owner) {
  const std::unique_ptr<TSettingsIni> ini = store.OpenIni();
  settings.Load(*ini);
  bool& advPrint = store.GeneralSettings.AdvPrint;
  if (!forceDialog && !advPrint) {
    settings.Save(*ini);
    ini->UpdateFile();
    return true;
  }
  Create(owner);
  Translate();
  CreateSpins();
  Fill(settings);
  At(u"c10").SetChecked(!advPrint);
  ui::PlaceNear(Handle(), owner);
  if (ShowModal(owner) != IDOK) return false;
  settings = Read();
  settings.Save(*ini);
  ini->UpdateFile();
  advPrint = !At(u"c10").Checked();
  return true;
}

}  // namespace vellumio
