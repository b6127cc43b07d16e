// The uninstall dialog: the setup package's uninstaller starts the program
// with "/uninstall_dlg", and the program shows only this dialog. The user
// keeps the notes and settings (default removal), deletes them too
// (complete removal), or cancels, which ends the uninstaller's process so
// that nothing is removed. Its texts are fixed English: the uninstaller
// runs when the language files may already be half gone.
#pragma once

#include <windows.h>

#include "config/AppFolders.h"
#include "ui/Form_win.h"

namespace vellumio {

class TfUnInst final : public ui::TForm {
public:
  TfUnInst();
  ~TfUnInst() override;

  // Shows the dialog centred and modal; IDOK for "Uninstall".
  int Execute();
  bool CompleteRemoval() const;

private:
  void OnPaint(HDC dc) override;
  void OnDpiApplied() override;

  ui::UniqueFont titleFont_;
  HICON icon_ = nullptr;
};

// The whole run of "/uninstall_dlg": hides the uninstaller's window
// ("Vellumio Uninstall") while the dialog is up, deletes the user's data
// on a complete removal, and on Cancel ends the uninstaller's process.
void RunUninstallDialog(const AppFolders& folders);

}  // namespace vellumio
