// TfAdvPrint: the print dialog with the text size, the four margins, the
// "do not show again" box and the printer setup. Shown before printing
// when the AdvPrint option is on or the user asks for it.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "print/PrintSettings.h"
#include "ui/Form_win.h"
#include "ui/FormExtraControl_win.h"

namespace vellumio {

class TConfStore;

class TfAdvPrint final : public ui::TForm {
public:
  TfAdvPrint();
  ~TfAdvPrint() override;

  // Loads the print settings from `store`'s back-end into `settings`. Without
  // `forceDialog` and with AdvPrint off, stores them back unchanged and
  // returns true at once. Otherwise shows the dialog: OK writes the five
  // values and sets AdvPrint exactly when c10 is unchecked; Cancel returns
  // false.
  bool Execute(TConfStore& store, bool forceDialog, TPrintSettings& settings, HWND owner);

  // The value field of e2 (text size) or c1..c4 (margins).
  HWND Field(std::u16string_view name) const;

private:
  void CreateSpins();
  void Fill(const TPrintSettings& settings);
  TPrintSettings Read() const;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnDpiApplied() override;

  std::array<std::unique_ptr<ui::TFormExtraControl>, 5> spins_;
};

}  // namespace vellumio
