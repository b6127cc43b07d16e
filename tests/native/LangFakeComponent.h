// A component tree in memory for the translation tests: named string
// properties, list items, columns and owned children, as the Win32 forms
// expose them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lang/Component.h"

namespace vellumio::test {

class TFakeComponent : public IComponent {
public:
  explicit TFakeComponent(std::u16string name) : name_(std::move(name)) {}

  std::u16string Name() const override { return name_; }
  bool IsForeignControl() const override { return foreign; }

  std::vector<std::u16string> StringPropertyNames() const override {
    std::vector<std::u16string> names;
    for (const auto& [name, value] : properties) names.push_back(name);
    return names;
  }
  std::u16string StringProperty(const std::u16string& name) const override {
    return properties.at(name);
  }
  void SetStringProperty(const std::u16string& name, const std::u16string& value) override {
    properties.at(name) = value;
    ++writes;
  }

  size_t ItemCount() const override { return items.size(); }
  std::u16string Item(size_t i) const override { return items.at(i); }
  void SetItem(size_t i, const std::u16string& text) override { items.at(i) = text; }

  size_t ColumnCount() const override { return columns.size(); }
  std::u16string ColumnCaption(size_t i) const override { return columns.at(i); }
  void SetColumnCaption(size_t i, const std::u16string& text) override { columns.at(i) = text; }

  size_t ChildCount() const override { return children.size(); }
  IComponent* Child(size_t i) const override { return children.at(i).get(); }

  TFakeComponent& Add(std::u16string name) {
    children.push_back(std::make_unique<TFakeComponent>(std::move(name)));
    return *children.back();
  }
  std::u16string& operator[](const std::u16string& property) { return properties[property]; }

  std::map<std::u16string, std::u16string> properties;
  std::vector<std::u16string> items;
  std::vector<std::u16string> columns;
  std::vector<std::unique_ptr<TFakeComponent>> children;
  bool foreign = false;
  int writes = 0;

private:
  std::u16string name_;
};

}  // namespace vellumio::test
