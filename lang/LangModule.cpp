#include "lang/LangModule.h"

#include <algorithm>

#include "base/TextUtil.h"
#include "lang/LanguageFile.h"
#include "platform/DirectoryWalk.h"

namespace vellumio {

namespace {

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && UpperCaseUnits(a) == UpperCaseUnits(b);
}

bool LessIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return UpperCaseUnits(a) < UpperCaseUnits(b);
}

bool IsLanguageFileName(const std::u16string& name) {
  constexpr std::u16string_view kExtension = u".lng";
  return name.size() > kExtension.size() &&
         EqualIgnoringCase(std::u16string_view(name).substr(name.size() - kExtension.size()),
                           kExtension);
}

}  // namespace

std::u16string LanguagesFolder(const AppFolders& folders) {
  if (!folders.languagesFolder.empty()) return folders.languagesFolder;
  return WithTrailingSeparator(WithTrailingSeparator(folders.programFolder) + u"Languages");
}

TLangModule::TLangModule(const std::u16string& folder, int currentBuild)
    : folder_(WithTrailingSeparator(folder)), currentBuild_(currentBuild) {
  Rescan();
  SetCurrentLanguage(std::u16string(kEnglishFile));
}

void TLangModule::Rescan() {
  const std::u16string current = CurrentFileName();
  displayNames_.clear();
  fileNames_.clear();
  platform::ForEachEntry(folder_, [this](const platform::DirEntry& entry) {
    if (!entry.isFolder && IsLanguageFileName(entry.name)) fileNames_.push_back(entry.name);
    return true;
  });
  // Listing order differs between systems; sorting the names keeps the
  // indices the same everywhere.
  std::sort(fileNames_.begin(), fileNames_.end(), LessIgnoringCase);
  for (size_t k = 0; k < fileNames_.size(); ++k)
    displayNames_.push_back({DisplayNameOf(fileNames_[k]), k});
  std::stable_sort(displayNames_.begin(), displayNames_.end(),
                   [](const TDisplayName& a, const TDisplayName& b) {
                     return LessIgnoringCase(a.name, b.name);
                   });
  currentIndex_ = DisplayIndexOfFile(FindFileOrEnglish(current));
}

std::u16string TLangModule::DisplayNameOf(const std::u16string& fileName) const {
  std::u16string name = fileName;
  int build = 0;
  try {
    const TLanguageFile file = TLanguageFile::FromFile(folder_ + fileName);
    name = file.ReadString(u"LANG_INFO", u"Name", fileName);
    build = file.ReadInteger(u"LANG_INFO", u"ForBuild", 0);
  } catch (const std::exception&) {
    // An unreadable file is still listed, as one without a description:
    // choosing it reports the error, and the rest of the list stays usable.
  }
  if (build < currentBuild_) name += u" -";
  return name;
}

int TLangModule::FindFile(const std::u16string& fileName) const {
  for (size_t k = 0; k < fileNames_.size(); ++k) {
    if (EqualIgnoringCase(fileNames_[k], fileName)) return static_cast<int>(k);
  }
  return -1;
}

int TLangModule::DisplayIndexOfFile(int fileIndex) const {
  for (size_t i = 0; i < displayNames_.size(); ++i) {
    if (static_cast<int>(displayNames_[i].fileIndex) == fileIndex) return static_cast<int>(i);
  }
  return -1;
}

void TLangModule::SetCurrentIndex(int index) {
  if (index == currentIndex_) return;
  currentIndex_ = index;
  isLangModified_ = true;
}

std::u16string TLangModule::CurrentFileName() const {
  if (currentIndex_ < 0 || currentIndex_ >= static_cast<int>(displayNames_.size())) return {};
  return fileNames_[displayNames_[currentIndex_].fileIndex];
}

int TLangModule::FindFileOrEnglish(const std::u16string& fileName) const {
  const int fileIndex = FindFile(fileName);
  return fileIndex >= 0 ? fileIndex : FindFile(std::u16string(kEnglishFile));
}

void TLangModule::SetCurrentLanguage(const std::u16string& fileName) {
  SetCurrentIndex(DisplayIndexOfFile(FindFileOrEnglish(fileName)));
}

void TLangModule::Load(const std::u16string& currentLanguage, bool isLangModified) {
  SetCurrentLanguage(currentLanguage);
  isLangModified_ = isLangModified;
}

void TLangModule::Save(std::u16string& currentLanguage, bool& isLangModified) const {
  if (currentIndex_ >= 0) currentLanguage = CurrentFileName();
  isLangModified = isLangModified_;
}

}  // namespace vellumio
