#include "lang/SelectLang_win.h"

#include <memory>

#include "config/Loader.h"

namespace vellumio {

using ui::TControlKind;

namespace {

constexpr int kResultOk = IDOK;
constexpr int kDoNotShow = 1;
const std::u16string kSection = u"Dialogs\\fSelectLang";
const std::u16string kValue = u"DefaultAnswer";

ui::TFormSpec SelectLangForm() { return {u"fSelectLang", u"", 290, 238}; }

std::vector<ui::TControlSpec> SelectLangControls() {
  return {
      {u"lSelect", TControlKind::kLabel, u"Please select interface language:", 12, 12, 266, 16},
      {u"lcb", TControlKind::kListBox, u"", 12, 32, 266, 160},
      {u"__cDoNotShow", TControlKind::kCheckBox, u"", 12, 206, 183, 17},
      {u"__bOk", TControlKind::kDefaultButton, u"", 203, 202, 75, 25, 0, 0, kResultOk},
  };
}

}  // namespace

TfSelectLang::TfSelectLang(std::function<void()> languageChanged)
    : TForm(SelectLangForm(), SelectLangControls()), languageChanged_(std::move(languageChanged)) {}

bool TfSelectLang::Execute(HWND owner) {
  TLoader* loader = Loader();
  if (!loader) return false;
  const int remembered = loader->ConfStore().OpenIni()->ReadInteger(kSection, kValue, -1);
  if (remembered == kDoNotShow) return true;
  Create(owner);
  SetCaption(u"Vellumio - Select Language");
  Translate();
  FillLanguages();
  CenterOnScreen();
  loader->BeginModal();
  int result = 0;
  try {
    result = ShowModal(owner);
  } catch (...) {
    loader->EndModal(true);
    throw;
  }
  // A new language may show new captions in the main window.
  loader->EndModal(true);
  const int answer = At(u"__cDoNotShow").Checked() ? kDoNotShow : remembered;
  std::unique_ptr<TSettingsIni> ini = loader->ConfStore().OpenIni();
  ini->WriteInteger(kSection, kValue, answer);
  ini->UpdateFile();
  return result == kResultOk;
}

void TfSelectLang::FillLanguages() {
  const TLangModule& languages = Loader()->LangModule();
  ui::TFormControl& list = At(u"lcb");
  list.ClearItems();
  for (const TLangModule::TDisplayName& entry : languages.DisplayNames()) list.AddItem(entry.name);
  list.SetSelected(languages.CurrentIndex());
}

void TfSelectLang::LanguagePicked() {
  const int index = At(u"lcb").Selected();
  if (index < 0) return;
  TLoader* loader = Loader();
  loader->LangModule().SetCurrentIndex(index);
  loader->LoadLanguage(this);
  if (languageChanged_) languageChanged_();
}

bool TfSelectLang::OnCommand(int id, int notifyCode, HWND control) {
  if (!control || control != At(u"lcb").Handle()) return false;
  if (notifyCode == LBN_SELCHANGE) LanguagePicked();
  if (notifyCode == LBN_DBLCLK && At(u"lcb").Selected() >= 0) EndModal(kResultOk);
  return true;
}

void TfSelectLang::OnShown() { SetForegroundWindow(Handle()); }

}  // namespace vellumio
