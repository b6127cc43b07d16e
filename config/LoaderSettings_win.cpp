// The loader's settings dialog with what goes before and after it.
#include <windows.h>

#include "base/Utf8.h"
#include "config/Loader.h"
#include "config/SettingsDialog_win.h"
#include "platform/Win32Text_win.h"

namespace vellumio {

namespace {

// Runs at the end of the scope however it is left.
template <class F>
class TFinally {
public:
  explicit TFinally(F f) : f_(std::move(f)) {}
  ~TFinally() { f_(); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

private:
  F f_;
};

}  // namespace

void TLoader::EditSettings(HWND owner, int page) {
  BeginModal();
  bool applying = true;
  TFinally after([&] {
    // The settings are applied also when the dialog failed: what the
    // hot-key dialog or a move of the database already changed must take
    // effect. An error here cannot leave a destructor.
    try {
      if (applying) ApplySettings();
    } catch (const std::exception&) {
    }
    EndModal(true);
  });
  try {
    database_->CommitAndSave();
    SaveDatabase();
  } catch (const std::exception& e) {
    // The dialog opens anyway: it may be the way out (another file).
    MessageBoxW(owner, platform::win::WideString(FromUtf8(e.what())).c_str(), L"Vellumio",
                MB_ICONERROR | MB_OK);
  }
  {
    TfSettings dialog;
    dialog.Execute(*confStore_, page, owner);
  }
  SaveSettings();
  // Applied here so that an error of it reaches the caller.
  applying = false;
  ApplySettings();
}

}  // namespace vellumio
