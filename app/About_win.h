// The about box: the program's icon, name and full version (with the build
// number), and who translated the language in use, as its file says.
#pragma once

#include <windows.h>

#include "ui/Form_win.h"

namespace vellumio::app {

class TfAbout final : public ui::TForm {
public:
  TfAbout();
  ~TfAbout() override;

  // Shows the box modally. The caller brackets it with the loader's
  // BeginModal and EndModal(true), as it does for every dialog it opens.
  int Execute(HWND owner = nullptr);

  // "Deutsch: Vellumio team <mail>" from LANG_INFO of the user's language;
  // empty when the file names no translator.
  static std::u16string TranslatorLine();

private:
  void OnPaint(HDC dc) override;
  void OnDpiApplied() override;

  ui::UniqueFont titleFont_;
  HICON icon_ = nullptr;
};

}  // namespace vellumio::app
