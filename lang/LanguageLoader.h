// Texts of one language file, looked up by section and key, with another
// loader to fall back on for keys the file lacks (the program keeps the
// English file as the fallback of the user's language).
//
// Keys: "_" stands for "."; a key without a leading "." is read from the
// section asked for; ".name" is read from the shared section "global", and
// ".SECTION.name" from the named section (a further ".part" is ignored). A
// text found nowhere is "no-value", which is shown as it stands so that a
// missing translation is visible rather than blank.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "lang/Component.h"
#include "lang/LanguageFile.h"

namespace vellumio {

inline constexpr std::u16string_view kNoValue = u"no-value";

class TLanguageLoader {
public:
  // Drops the previous file and reads `fileName`; when `form` is given, its
  // name becomes the default section of GetText and the form is translated.
  // Throws the reader's error when the file cannot be read (the loader is
  // then left without a file: every text falls back).
  void LoadFile(IComponent* form, const std::u16string& fileName);
  // The same from an already parsed file (tests, the language editor).
  void SetFile(IComponent* form, std::unique_ptr<TLanguageFile> file);

  // A key in the section of the form last loaded; "-error-" before any form.
  std::u16string GetText(std::u16string_view key) const;
  // The resolution described above, then the fallback when `useFallback`
  // and nothing was found, then the word replacement.
  std::u16string Translate(std::u16string_view section, std::u16string_view key,
                           bool useFallback) const;
  // Replaces the placeholders of `component` and everything it owns; does
  // nothing before a form and a file have been loaded.
  void TranslateComponent(IComponent& component) const;

  // Not owned; must outlive this loader. nullptr: no fallback.
  void SetFallback(const TLanguageLoader* fallback) { fallback_ = fallback; }
  // Every `what` (case-sensitive) in a delivered text becomes `with`;
  // an empty `what` replaces nothing.
  void SetReplacement(std::u16string what, std::u16string with);

  const TLanguageFile* File() const { return file_.get(); }
  // The default section: the name of the form last translated.
  const std::optional<std::u16string>& FormName() const { return formName_; }

private:
  std::u16string Lookup(std::u16string_view section, std::u16string_view key) const;

  // Only the name is kept: the form may be destroyed long before the next
  // LoadFile, and the name is all that GetText needs of it.
  std::optional<std::u16string> formName_;
  std::unique_ptr<TLanguageFile> file_;
  const TLanguageLoader* fallback_ = nullptr;
  std::u16string replaceWith_;
  std::u16string replaceWhat_;
};

}  // namespace vellumio
