#include "lang/TranslateComponent.h"

#include <algorithm>

namespace vellumio {

namespace {

const std::u16string kCaption = u"Caption";

// The key inside a placeholder: the text without its first and its last
// character. The last one is dropped unseen, so "[lCaption" loses its "n";
// forms are written with the bracket, and checking it would only hide a
// typing error behind an untranslated text.
std::u16string_view PlaceholderKey(std::u16string_view text) {
  return text.size() < 2 ? std::u16string_view() : text.substr(1, text.size() - 2);
}

bool StartsWithBracket(std::u16string_view text) { return !text.empty() && text.front() == u'['; }

void TranslateItems(IComponent& c, const TKeyLookup& getText) {
  for (size_t i = 0; i < c.ItemCount(); ++i) {
    const std::u16string item = c.Item(i);
    if (StartsWithBracket(item)) c.SetItem(i, getText(PlaceholderKey(item)));
  }
  for (size_t i = 0; i < c.ColumnCount(); ++i) {
    const std::u16string caption = c.ColumnCaption(i);
    if (StartsWithBracket(caption)) c.SetColumnCaption(i, getText(PlaceholderKey(caption)));
  }
}

void TranslateProperties(IComponent& c, const TKeyLookup& getText) {
  const std::vector<std::u16string> names = c.StringPropertyNames();
  const std::u16string name = c.Name();
  if (!name.empty() && name.front() == u'_' &&
      std::find(names.begin(), names.end(), kCaption) != names.end()) {
    c.SetStringProperty(kCaption, getText(std::u16string_view(name).substr(1)));
    return;
  }
  for (const std::u16string& property : names) {
    const std::u16string value = c.StringProperty(property);
    if (value.size() < 2 || !StartsWithBracket(value)) continue;
    std::u16string text = getText(PlaceholderKey(value));
    if (!text.empty()) c.SetStringProperty(property, text);
  }
}

}  // namespace

void TranslateComponent(IComponent& component, const TKeyLookup& getText) {
  if (component.IsForeignControl()) return;
  TranslateItems(component, getText);
  TranslateProperties(component, getText);
  for (size_t i = 0; i < component.ChildCount(); ++i) {
    if (IComponent* child = component.Child(i)) TranslateComponent(*child, getText);
  }
}

}  // namespace vellumio
