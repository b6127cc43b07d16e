// The find dialog (TfFind): asks for the text that Find marks and walks
// through. Its search-all box is kept but hidden and unchecked, so a
// search always covers the current list.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Form_win.h"

namespace vellumio::search {

class TfFind final : public ui::TForm {
public:
  TfFind();

  // Shows the dialog with `text` and `searchAll` filled in; on OK they
  // take what the user left there and the result is true.
  bool Execute(HWND owner, std::u16string& text, bool& searchAll);

protected:
  bool OnKeyPreview(const MSG& msg) override;
  void OnShown() override;

private:
  HWND owner_ = nullptr;
};

}  // namespace vellumio::search
