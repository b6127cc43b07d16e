#include "lang/LanguageLoader.h"

#include <vector>

#include "lang/TranslateComponent.h"

namespace vellumio {

namespace {

std::vector<std::u16string_view> SplitAtDots(std::u16string_view text) {
  std::vector<std::u16string_view> fields;
  size_t start = 0;
  for (size_t dot; (dot = text.find(u'.', start)) != std::u16string_view::npos; start = dot + 1)
    fields.push_back(text.substr(start, dot - start));
  fields.push_back(text.substr(start));
  return fields;
}

}  // namespace

void TLanguageLoader::LoadFile(IComponent* form, const std::u16string& fileName) {
  file_.reset();
  SetFile(form, std::make_unique<TLanguageFile>(TLanguageFile::FromFile(fileName)));
}

void TLanguageLoader::SetFile(IComponent* form, std::unique_ptr<TLanguageFile> file) {
  file_ = std::move(file);
  if (!form) return;
  formName_ = form->Name();
  TranslateComponent(*form);
}

void TLanguageLoader::SetReplacement(std::u16string what, std::u16string with) {
  replaceWhat_ = std::move(what);
  replaceWith_ = std::move(with);
}

std::u16string TLanguageLoader::GetText(std::u16string_view key) const {
  if (!formName_) return u"-error-";
  return Translate(*formName_, key, true);
}

std::u16string TLanguageLoader::Lookup(std::u16string_view section, std::u16string_view key) const {
  std::u16string resolved(key);
  for (char16_t& c : resolved) {
    if (c == u'_') c = u'.';
  }
  std::u16string_view readSection = section;
  std::u16string_view readKey = resolved;
  if (!resolved.empty() && resolved.front() == u'.') {
    std::vector<std::u16string_view> fields = SplitAtDots(resolved);
    if (fields.size() < 3 || fields[2].empty()) {  // ".name": the shared section
      resolved = u".global" + resolved;
      fields = SplitAtDots(resolved);
    }
    readSection = fields[1];
    readKey = fields.size() > 2 ? fields[2] : std::u16string_view();
  }
  if (!file_) return std::u16string(kNoValue);
  return file_->ReadString(readSection, readKey, kNoValue);
}

std::u16string TLanguageLoader::Translate(std::u16string_view section, std::u16string_view key,
                                          bool useFallback) const {
  std::u16string text = Lookup(section, key);
  if (useFallback && fallback_ && text == kNoValue) text = fallback_->Translate(section, key, true);
  return ReplaceAll(text, replaceWhat_, replaceWith_);
}

void TLanguageLoader::TranslateComponent(IComponent& component) const {
  if (!formName_ || !file_) return;
  vellumio::TranslateComponent(component, [this](std::u16string_view key) { return GetText(key); });
}

}  // namespace vellumio
