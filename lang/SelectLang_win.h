// The dialog that lets the user pick the interface language, shown at
// start-up until its do-not-show-again box is ticked. Picking an entry
// switches the language at once, so the user sees each language in the
// dialog itself (and in the main window, through the callback) before
// confirming.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/Form_win.h"

namespace vellumio {

class TfSelectLang final : public ui::TForm {
public:
  // `languageChanged` runs after each switch, once the dialog has been
  // retranslated (the main window retranslates itself there).
  explicit TfSelectLang(std::function<void()> languageChanged = {});

  // True when the user confirmed (OK or a double click), or at once when
  // the dialog is not to be shown any more. False without the application
  // object, which it needs for the languages and the settings.
  bool Execute(HWND owner = nullptr);

private:
  void FillLanguages();
  void LanguagePicked();

  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnShown() override;

  std::function<void()> languageChanged_;
};

}  // namespace vellumio
