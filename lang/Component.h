// What the translation walk needs to know about a form and the controls on
// it. Forms are designed with placeholder texts ("[lCaption]", "[.bOk]");
// the Win32 forms implement this interface over their child windows, menus
// and actions, and the walk replaces the placeholders from the language
// file. Everything but the name has an empty default, so a component
// overrides only what it has.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vellumio {

class IComponent {
public:
  virtual ~IComponent() = default;

  // The design-time name ("fMain", "bSearch", "_eSettings"). A form's name
  // is the default section of its texts.
  virtual std::u16string Name() const = 0;

  // An embedded foreign control: the walk leaves it and everything it owns
  // alone, since its texts are not ours to change.
  virtual bool IsForeignControl() const { return false; }

  // The string properties the component shows ("Caption", "Hint", "Text",
  // ...). A component named with a leading "_" takes its "Caption" from its
  // own name, so it must list "Caption" among them for that to happen.
  virtual std::vector<std::u16string> StringPropertyNames() const { return {}; }
  virtual std::u16string StringProperty(const std::u16string& name) const { return {}; }
  virtual void SetStringProperty(const std::u16string& name, const std::u16string& value) {}

  // The items of a list box or combo box.
  virtual size_t ItemCount() const { return 0; }
  virtual std::u16string Item(size_t index) const { return {}; }
  virtual void SetItem(size_t index, const std::u16string& text) {}

  // The column captions of a list view, or the section texts of a header.
  virtual size_t ColumnCount() const { return 0; }
  virtual std::u16string ColumnCaption(size_t index) const { return {}; }
  virtual void SetColumnCaption(size_t index, const std::u16string& text) {}

  // The components this one owns, in the order they were created.
  virtual size_t ChildCount() const { return 0; }
  virtual IComponent* Child(size_t index) const { return nullptr; }
};

// Replaces the placeholders of a component tree from the user's language.
// The forms translate themselves through it, so that the window toolkit
// needs nothing of the application object that reads the language files.
class IComponentTranslator {
public:
  virtual ~IComponentTranslator() = default;
  virtual void Translate(IComponent* component) = 0;
};

}  // namespace vellumio
