// The small dialog that asks for a list's name (TfRenameCat), for renaming
// a list and for a new one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/Form_win.h"

namespace vellumio::app {

class TfRenameCat final : public ui::TForm {
public:
  TfRenameCat();

  // Shows the dialog with `caption`, the message `label` and `text` in the
  // field, inside its own modal bracket; the edited text on OK, nothing on
  // Cancel.
  std::optional<std::u16string> Execute(HWND owner, const std::u16string& caption,
                                        const std::u16string& label, const std::u16string& text);

protected:
  void OnShown() override;
};

}  // namespace vellumio::app
