#include "app/RenameCat_win.h"

#include "config/Loader.h"
#include "ui/PlaceNear_win.h"

namespace vellumio::app {

namespace {

using ui::TControlKind;

ui::TFormSpec RenameForm() { return {u"fRenameCat", u"[lCaption]", 350, 110}; }

std::vector<ui::TControlSpec> RenameControls() {
  return {
      {u"lRenameCat", TControlKind::kLabel, u"[lRenameCat]", 10, 10, 329, 16},
      {u"e1", TControlKind::kEdit, u"", 10, 32, 329, 23, ES_AUTOHSCROLL},
      {u"bOk", TControlKind::kDefaultButton, u"[.bOk]", 183, 72, 75, 25, 0, 0, IDOK},
      {u"bCancel", TControlKind::kButton, u"[.bCancel]", 264, 72, 75, 25, 0, 0, IDCANCEL},
  };
}

}  // namespace

TfRenameCat::TfRenameCat() : ui::TForm(RenameForm(), RenameControls()) {}

std::optional<std::u16string> TfRenameCat::Execute(HWND owner, const std::u16string& caption,
                                                   const std::u16string& label,
                                                   const std::u16string& text) {
  Create(owner);
  Translate();
  // The new-list texts unless the caller says otherwise.
  SetCaption(GetText(u"FMAIN", u"lNewListCap"));
  At(u"lRenameCat").SetText(GetText(u"FMAIN", u"mNewListMsg"));
  if (!caption.empty()) SetCaption(caption);
  if (!label.empty()) At(u"lRenameCat").SetText(label);
  At(u"e1").SetText(text);
  SendMessageW(At(u"e1").Handle(), EM_SETSEL, 0, -1);
  TLoader* loader = Loader();
  if (loader) loader->BeginModal();
  const int result = ShowModal(owner);
  if (loader) loader->EndModal(false);
  if (result != IDOK) return std::nullopt;
  return At(u"e1").Text();
}

void TfRenameCat::OnShown() {
  // Around the pointer, where the user just clicked, inside the work area.
  ui::PlaceNear(Handle(), nullptr);
  SetFocus(At(u"e1").Handle());
}

}  // namespace vellumio::app
