// Typing in the main window opens the search panel with what is typed and
// narrows the lists; Backspace takes characters back and closes the panel
// with the last one. The rules live here, apart from the windows: the
// main window feeds every character and the keys of the filter field in,
// and mirrors Visible() and Text() in its panel and field.
#pragma once

#include <string>

namespace vellumio::search {

enum class TFilterAction {
  kNone,    // the character is not ours (an editor or the field takes it)
  kEdit,    // the text changed; caret to its end, focus to the field
  kOpen,    // the panel opens with the text; caret to its end
  kClose,   // the panel closes and the filter is cleared
  kToView,  // Up or Down: the view takes the focus and the key
};

class TTypeToFilter {
public:
  bool Visible() const { return visible_; }
  const std::u16string& Text() const { return text_; }

  // A character typed while the window has the keyboard. `editing`: a note
  // editor has it; `inField`: the filter field has the focus.
  TFilterAction Char(char16_t ch, bool editing, bool inField);
  // A key pressed in the filter field (virtual key codes: Esc, Back, Up,
  // Down); kNone leaves it to the field.
  TFilterAction FieldKey(unsigned key);

  // The field's text after the user changed it there.
  void SetText(const std::u16string& text) { text_ = text; }
  // The panel opened or closed by its button.
  void SetVisible(bool visible);

private:
  TFilterAction Close();

  bool visible_ = false;
  std::u16string text_;
};

}  // namespace vellumio::search
