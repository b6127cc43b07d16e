#include "search/TypeToFilter.h"

namespace vellumio::search {

namespace {
constexpr char16_t kBackspace = 8;
// Virtual keys of the filter field.
constexpr unsigned kKeyBack = 0x08, kKeyEscape = 0x1B, kKeyUp = 0x26, kKeyDown = 0x28;
}  // namespace

TFilterAction TTypeToFilter::Char(char16_t ch, bool editing, bool inField) {
  if (editing) return TFilterAction::kNone;
  // Control characters (Ctrl+letters, Enter, Esc) are commands, not text.
  if (ch < 28 && ch != kBackspace) return TFilterAction::kNone;
  if (inField) return TFilterAction::kNone;
  if (ch == kBackspace) {
    // A Backspace with the panel hidden has nothing to take back.
    if (!visible_ || text_.empty()) return visible_ ? Close() : TFilterAction::kNone;
    text_.pop_back();
    return text_.empty() ? Close() : TFilterAction::kEdit;
  }
  if (visible_) {
    text_.push_back(ch);
    return TFilterAction::kEdit;
  }
  text_.assign(1, ch);
  visible_ = true;
  return TFilterAction::kOpen;
}

TFilterAction TTypeToFilter::FieldKey(unsigned key) {
  switch (key) {
    case kKeyEscape:
      return Close();
    case kKeyUp:
    case kKeyDown:
      return TFilterAction::kToView;
    case kKeyBack:
      return text_.size() == 1 ? Close() : TFilterAction::kNone;
    default:
      return TFilterAction::kNone;
  }
}

void TTypeToFilter::SetVisible(bool visible) {
  visible_ = visible;
  if (!visible) text_.clear();
}

TFilterAction TTypeToFilter::Close() {
  SetVisible(false);
  return TFilterAction::kClose;
}

}  // namespace vellumio::search
