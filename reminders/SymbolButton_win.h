// The small symbol buttons of the reminder windows (the snooze arrow, the
// sound test's play and stop) show a letter of the system's "Marlett"
// symbol font. Where the system has no Marlett (Wine without the Windows
// fonts), the same symbols come from Unicode in the form's own font, so
// the button never shows a bare letter.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Form_win.h"

namespace vellumio::reminders {

enum class TSymbol { kDownArrow, kPlay, kStop };

class TSymbolFont {
public:
  // Builds the font for a form at its current DPI (call from OnDpiApplied).
  void Apply(const ui::TForm& form, HWND button);
  // The button's caption for a symbol in the font applied.
  std::u16string Text(TSymbol symbol) const;

private:
  ui::UniqueFont font_;
  bool marlett_ = false;
};

}  // namespace vellumio::reminders
