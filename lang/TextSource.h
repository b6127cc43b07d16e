// The program's two language loaders as one text source: the user's
// language, which names the program "Vellumio" wherever a translation was
// made with the old name, backed by "english.lng" for every key it lacks.
// The application object owns one and offers GetText to every window.
#pragma once

#include <string>
#include <string_view>

#include "lang/Component.h"
#include "lang/LanguageLoader.h"

namespace vellumio {

class TTextSource {
public:
  // `languagesFolder` with or without a trailing separator.
  explicit TTextSource(const std::u16string& languagesFolder);
  TTextSource(const TTextSource&) = delete;
  TTextSource& operator=(const TTextSource&) = delete;

  // Reads "english.lng" from the languages folder; throws when it cannot.
  void LoadEnglish();
  // Rereads the user's language file and, when `form` is given, translates
  // it. An empty file name (no language file installed at all) leaves the
  // user's loader without a file, so every text comes from English or
  // shows as "no-value" instead of stopping the program.
  void LoadLanguage(const std::u16string& fileName, IComponent* form = nullptr);

  std::u16string GetText(std::u16string_view section, std::u16string_view key) const;
  // For callers that name sections and keys with plain literals.
  std::u16string GetText(std::string_view section, std::string_view key) const;

  const std::u16string& Folder() const { return folder_; }
  TLanguageLoader& Main() { return main_; }
  TLanguageLoader& English() { return english_; }

private:
  std::u16string folder_;
  TLanguageLoader english_;
  TLanguageLoader main_;
};

}  // namespace vellumio
