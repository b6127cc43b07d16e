#include "search/FindDlg_win.h"

#include "config/Loader.h"
#include "ui/PlaceNear_win.h"

namespace vellumio::search {

namespace {

using ui::TControlKind;

ui::TFormSpec FindForm() { return {u"fFind", u"[lCaption]", 369, 148}; }

std::vector<ui::TControlSpec> FindControls() {
  return {
      {u"XPLabel1", TControlKind::kLabel, u"[lSearchStr]", 12, 14, 345, 16},
      {u"e1", TControlKind::kEdit, u"", 12, 34, 345, 23, ES_AUTOHSCROLL},
      {u"c2", TControlKind::kCheckBox, u"[cSearchAll]", 12, 68, 345, 17},
      {u"Button2", TControlKind::kDefaultButton, u"[.bOk]", 201, 106, 75, 25, 0, 0, IDOK},
      {u"Button1", TControlKind::kButton, u"[.bCancel]", 282, 106, 75, 25, 0, 0, IDCANCEL},
  };
}

}  // namespace

TfFind::TfFind() : ui::TForm(FindForm(), FindControls()) {}

bool TfFind::Execute(HWND owner, std::u16string& text, bool& searchAll) {
  owner_ = owner;
  Create(owner);
  Translate();
  At(u"e1").SetText(text);
  SendMessageW(At(u"e1").Handle(), EM_SETSEL, 0, -1);
  // Searching every list is not offered: the box goes, and the buttons
  // move up into its place.
  At(u"c2").SetChecked(false);
  At(u"c2").SetVisible(false);
  const ui::TControlSpec& box = At(u"c2").Spec();
  for (const char16_t* name : {u"Button2", u"Button1"}) {
    const ui::TControlSpec& button = At(name).Spec();
    MoveControl(name, button.left, box.top, button.width, button.height);
  }
  const ui::TControlSpec& ok = At(u"Button2").Spec();
  SetClientSize(ClientWidth(), ok.top + ok.height + 20);
  SetFocus(At(u"e1").Handle());
  if (ShowModal(owner) != IDOK) return false;
  text = At(u"e1").Text();
  searchAll = At(u"c2").Checked();
  return true;
}

void TfFind::OnShown() {
  // At the pointer when it is over the main window, else at its centre;
  // inside the work area either way.
  ui::PlaceNear(Handle(), owner_);
  SetFocus(At(u"e1").Handle());
}

bool TfFind::OnKeyPreview(const MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
    if (TLoader* loader = Loader()) loader->ShowHelp(u"/src/find.htm");
    return true;
  }
  return ui::TForm::OnKeyPreview(msg);
}

}  // namespace vellumio::search
