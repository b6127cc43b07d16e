#include "lang/TextSource.h"

#include "config/AppFolders.h"
#include "lang/LangModule.h"
#include "platform/Platform.h"

namespace vellumio {

TTextSource::TTextSource(const std::u16string& languagesFolder)
    : folder_(WithTrailingSeparator(languagesFolder)) {
  main_.SetReplacement(u"Scribbaloon", u"Vellumio");
  main_.SetFallback(&english_);
}

void TTextSource::LoadEnglish() {
  english_.LoadFile(nullptr, folder_ + std::u16string(kEnglishFile));
}

void TTextSource::LoadLanguage(const std::u16string& fileName, IComponent* form) {
  if (fileName.empty()) {
    main_.SetFile(form, nullptr);
    return;
  }
  main_.LoadFile(form, folder_ + fileName);
}

std::u16string TTextSource::GetText(std::u16string_view section, std::u16string_view key) const {
  return main_.Translate(section, key, true);
}

std::u16string TTextSource::GetText(std::string_view section, std::string_view key) const {
  return GetText(platform::FromAnsi(section), platform::FromAnsi(key));
}

}  // namespace vellumio
