// TfMain: the settings dialog behind the tray menu's Settings item, and
// what the window does after it beyond applying the settings.
#include <windows.h>

#include "app/Main_win.h"
#include "base/Utf8.h"
#include "lang/Message_win.h"
#include "ui/Refresher_win.h"

namespace vellumio::app {

void TfMain::ActionSettings() {
  if (loader_->IsModal()) return;
  EndEditingAll();
  const std::u16string language = loader_->LangModule().CurrentFileName();
  try {
    loader_->EditSettings(Handle(), 0);
  } catch (const std::exception& e) {
    TuMsg::ShowMsg(IDI_HAND, loader_->GetText(u"", u".lWarning"), FromUtf8(e.what()), u"",
                   Handle(), true, false);
  }
  // The menu and the tooltips follow a new language at once.
  if (loader_->LangModule().CurrentFileName() != language) TranslateMenu();
  SetWinState(false);
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

}  // namespace vellumio::app
