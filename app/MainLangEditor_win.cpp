// TfMain: the language editor behind the tray menu's "Language Editor..."
// item (shown while Shift is held as the menu opens).
#include <windows.h>

#include "Version.h"
#include "app/Main_win.h"
#include "lang/LangEditor_win.h"

namespace vellumio::app {

void TfMain::ActionLangEditor() {
  loader_->BeginModal();
  try {
    // The build number is the low half of the file version while its
    // third part is 0, as it is in every release.
    TfLangEditor editor(loader_->LangModule(), VELLUMIO_BUILD);
    editor.ShowEditor(Handle());
  } catch (...) {
    loader_->EndModal(true);
    throw;
  }
  loader_->EndModal(true);
}

}  // namespace vellumio::app
